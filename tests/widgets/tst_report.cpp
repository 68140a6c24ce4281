// "Отчёт": the calls to the word processor, the values and the progress.
#include "fixture.h"

#include "rtf/rtf.h"
#include "windows/rodtable.h"

#include <QGroupBox>
#include <QProgressBar>
#include <QRegularExpression>
#include <QTableWidget>

using namespace vostrel;

namespace {
// A zone-B design of 12 x 36 x 10 m at 40 h, catenary 20 / 60 / hx.
void EnterDesign(Program& p, const QString& hx = QStringLiteral("10"), int rodTypeIndex = 3) {
    ToRodPage(p, false, rodTypeIndex);
    Calculate(p, {"20", "60", hx});
}

// The 25 values for a design's fields and doubled radii.
QStringList Values(const QString& hop, const QString& a, const QString& hx, const QString& h0,
                   const QString& r0, const QString& rx, const QString& rx2, const QString& r02) {
    QStringList v{"12", "36", "10", "0,02457", "III", "       Б", hop, hop, a, a, hx, hx, h0, h0};
    for (int i = 0; i < 5; ++i)
        v << r0;
    for (int i = 0; i < 4; ++i)
        v << rx;
    return v << rx2 << r02;
}
// A value's marks shown as "{i ", "{sub " and "}".
QString Shown(QString value) {
    return value.replace(QChar(0x02), "{i ")
        .replace(QChar(0x0E), "{sub ")
        .replace(QChar(0x03), "}");
}
// Counts the paint events of a widget.
class PaintCounter final : public QObject {
public:
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    int count = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        count += event->type() == QEvent::Paint;
        return false;
    }
};
} // namespace

class TestReport : public QObject {
    Q_OBJECT
private slots:
    void callSequence();
    void doubledRadiusRounding();
    void afterNextWithoutCalculation();
    void afterFailedCalculation();
    void failureStopsWithItsReason();
    void warningNamesWhatChanged();
    void refusedCalculationEmptiesResults();
    void withoutWordProcessor();
    void everyRodTypeHasItsReport();
    void tablesMatchTemplates();
    void systemOfRods();
    void progressWindowPaints();
};

void TestReport::callSequence() {
    Program p(",");
    EnterDesign(p);
    QVERIFY(p.form1.Button2->isEnabled());
    p.form1.Button2->click();
    QStringList expected{"StartWord", "SetWordVisible(false)",
                         "OpenDocument(" VOSTREL_TEST_TEMPLATE ")"};
    const QStringList values =
        Values("20", "60", "10", "  16,6", "  30,6", "  12,1", "24,2", "61,2");
    const char* tags[] = {"##ll&", "##ss&", "##hh&", "##nn&", "##ka&", "##zo&", "##vi&",
                          "##vi&", "##aa&", "##aa&", "##hx&", "##hx&", "##h0&", "##h0&",
                          "##r0&", "##r0&", "##r0&", "##r0&", "##r0&", "##rx&", "##rx&",
                          "##rx&", "##rx&", "#2rx&", "#2r0&"};
    for (int i = 0; i < 25; ++i)
        expected << "ResetSelection" << QString("ReplaceTag(%1,[%2])").arg(tags[i], values[i]);
    QCOMPARE(p.word.calls.mid(0, expected.size()), expected);
    // Then the program's own values: the cable height, the numbers under N's
    // formula and under those of zone Б, which applies (a line break first),
    // and what every report has.
    const auto filled = p.word.filled();
    QCOMPARE(filled["##ch&"], QStringList{"h = hоп − 2 = 20 − 2 = 18,0 м"});
    QCOMPARE(filled["##nf&"], QStringList{"\nN = [(12 + 6 · 10)(36 + 6 · 10) − 7,7 · 10²] · 4 · "
                                          "10⁻⁶ = 0,02457"});
    QCOMPARE(filled["##fh&"], (QStringList{"", "\nh0 = 0,92 · 18 = 16,6 м"}));
    QCOMPARE(filled["##fr&"], (QStringList{"", "\nr0 = 1,7 · 18 = 30,6 м"}));
    QCOMPARE(filled["##fx&"], (QStringList{"", "\nrx = 1,7 · (18 − 10/0,92) = 12,1 м"}));
    QCOMPARE(filled["##cn&"],
             QStringList{"Объекты высотой hx = 10,0 м находятся в зоне защиты: rx = 12,1 м."});
    QCOMPARE(filled["##vd&"], QStringList{"Здание в зоне защиты на своей высоте h = 10,0 м."});
    QCOMPARE(filled["##wr&"], QStringList{""});
    QCOMPARE(filled["##tg&"] + filled["##dn&"], (QStringList{"40", "4,0"}));
    // The drawing in place of its tag: a PNG of the size the call gives.
    QCOMPARE(p.word.calls.filter("ReplaceTagWithPicture"),
             QStringList{"ReplaceTagWithPicture(##pc&,1260x788,9072x5670)"});
    QCOMPARE(p.word.pictures.size(), 1);
    QCOMPARE(QImage::fromData(p.word.pictures[0], "PNG").size(), QSize(1260, 788));
    QCOMPARE(p.word.calls.last(), "SetWordVisible(true)");
    QCOMPARE(Find<QProgressBar>(p.form7, "ProgressBar1")->value(), 100);
    QVERIFY(p.form7.isHidden());
    QVERIFY(p.dialogs.shown.isEmpty());
}

void TestReport::doubledRadiusRounding() {
    // hx chosen so that rx = 12.34: 2rx = 24.68 is written 24,7.
    Program p(",");
    EnterDesign(p, "9,881882353");
    QCOMPARE(p.form1.Edit15->text(), "  12,3");
    p.form1.Button2->click();
    QCOMPARE(p.word.values().at(23), "24,7");
}

void TestReport::afterNextWithoutCalculation() {
    Program p(",");
    EnterDesign(p);
    Click(p.form1.Button4);
    Click(p.form1.Button1); // empties the rod page, keeps 2rx and 2r0
    QVERIFY(p.form1.Button2->isEnabled());
    p.form1.Button2->click();
    QCOMPARE(p.word.values().mid(0, 25), Values("", "", "", "", "", "", "24,2", "61,2"));
    // The report says first that nothing is calculated for the page.
    QCOMPARE(p.word.filled()["##wr&"],
             QStringList{"Внимание: Расчёт не выполнен: результатов расчёта зоны защиты в "
                         "отчёте нет."});
}

void TestReport::warningNamesWhatChanged() {
    // Two rods of 30 m at 40 m, zone Б, hx 10; then hx 9 without "Расчёт".
    Program p(",");
    ToRodPage(p, false, 1);
    for (const auto& [field, text] :
         {std::pair{p.form1.Edit8, "30"}, {p.form1.Edit9, "40"}, {p.form1.Edit10, "10"}})
        Type(field, text);
    MoveOver(p.form1.GroupBox3, {200, 200});
    Click(p.form1.Button3);
    p.form1.Edit10->clear();
    Type(p.form1.Edit10, "9");
    p.form1.Button2->click();
    auto filled = p.word.filled();
    QCOMPARE(filled["##wr&"],
             QStringList{"Внимание: после последнего расчёта изменены hx (в расчёте 10, на "
                         "странице молниеотвода 9). Отчёт составлен по данным последнего "
                         "расчёта; для новых данных Расчёт не выполнен."});
    // The report is the calculation's, its values trimmed.
    QCOMPARE(filled["##hx&"], (QStringList{"10", "10"}));
    QCOMPARE(filled["##rx&"], (QStringList{"28,7", "28,7"}));
    QCOMPARE(filled["##zo&"], QStringList{"Б"});
    // Numbers under the formulas of zone Б only, and under the inner case.
    QCOMPARE(filled["##fh&"], (QStringList{"", "\nh0 = 0,92 · 30 = 27,6 м"}));
    QCOMPARE(filled["##in&"], QStringList{"hc = 27,6 − 0,14 · (40 − 30) = 26,2 м\nrc = r0 = "
                                          "45,0 м\nrcx = 45,0 · (26,2 − 10)/26,2 = 27,8 м"});
    // Symbols in the sentences are marked for italics and subscripts.
    const QString marked = p.word.calls.filter("ReplaceTag(##cs&").value(0);
    QVERIFY2(Shown(marked).contains("{i h{sub c}} = {i h{sub 0}} − 0,14({i L} − {i h})"),
             qPrintable(Shown(marked)));
    // After "Далее>>" the empty page has no calculation: its results are
    // not calculated, not empty.
    Click(p.form1.Button4);
    PressNext(p);
    p.word.calls.clear();
    p.form1.Button2->click();
    filled = p.word.filled();
    QVERIFY2(filled["##wr&"].value(0).startsWith("Внимание: Расчёт не выполнен"),
             qPrintable(filled["##wr&"].value(0)));
    QCOMPARE(filled["##h0&"], (QStringList{"не рассчитано", "не рассчитано"}));
    QCOMPARE(filled["##cx&"], QStringList{"не рассчитано"});
    QCOMPARE(filled["##fh&"] + filled["##in&"], (QStringList{"", "", ""}));
}

void TestReport::refusedCalculationEmptiesResults() {
    Program p(",");
    EnterDesign(p);
    p.form1.Edit9->clear();
    Type(p.form1.Edit9, "150");
    Click(p.form1.Button3);
    QCOMPARE(p.dialogs.texts(), QStringList{"Длина пролёта троса a должна быть меньше 150 м"});
    for (QLineEdit* result : {p.form1.Edit13, p.form1.Edit14, p.form1.Edit15})
        QCOMPARE(result->text(), QString());
    p.form1.Button2->click();
    // The single catenary's rows insert the fields as they are: no results;
    // the doubled radii of the last completed calculation.
    QCOMPARE(p.word.values().mid(0, 25), Values("20", "150", "10", "", "", "", "24,2", "61,2"));
    QVERIFY2(p.word.filled()["##wr&"].value(0).contains(
                 "изменены a (в расчёте 60, на странице молниеотвода 150)"),
             qPrintable(p.word.filled()["##wr&"].value(0)));
}

void TestReport::afterFailedCalculation() {
    Program p(",");
    EnterDesign(p, "1.0"); // not a number under ","
    QCOMPARE(p.dialogs.texts(), QStringList{"'1.0' is not a valid floating point value."});
    p.dialogs.clear();
    p.form1.Button2->click();
    QCOMPARE(p.word.values().mid(0, 25), Values("20", "60", "1.0", "", "", "", "0,0", "0,0"));
    QVERIFY(p.word.values().contains("Расчёт зоны защиты не выполнен."));
    // No drawing: the section says why.
    QVERIFY(p.word.pictures.isEmpty());
    QVERIFY(p.word.values().contains("Чертёж зоны защиты не выполнен: нет завершённого расчёта."));
}

void TestReport::failureStopsWithItsReason() {
    Program p(",");
    p.word.missingTag = "##r0&";
    EnterDesign(p);
    p.form1.Button2->click();
    // One attempt, and the word processor's reason.
    const QStringList tail =
        p.word.calls.mid(p.word.calls.lastIndexOf("ReplaceTag(##h0&,[  16,6])") + 1);
    QCOMPARE(tail, (QStringList{"ResetSelection", "ReplaceTag(##r0&,[  30,6])"}));
    QVERIFY(p.form7.isHidden());
    QCOMPARE(p.dialogs.texts(), QStringList{"Отчёт не составлен: нет метки «##r0&»."});
    // Every routine's failure stops the report there, with its reason.
    p.word.missingTag.clear();
    for (const char* routine : {"StartWord", "SetWordVisible", "OpenDocument", "ResetSelection",
                                "ReplaceTag", "ReplaceTagWithPicture"}) {
        p.word.failing = routine;
        p.word.calls.clear();
        p.dialogs.clear();
        p.form1.Button2->click();
        QCOMPARE(p.dialogs.texts(),
                 QStringList{QString("Отчёт не составлен: %1 не выполнено.").arg(routine)});
        QVERIFY2(p.word.calls.last().startsWith(routine), qPrintable(p.word.calls.last()));
        QVERIFY(!p.word.calls.contains("SetWordVisible(true)"));
        QVERIFY(p.form7.isHidden());
    }
    // A template that is not there is named as such.
    p.word.failing.clear();
    p.dialogs.clear();
    p.report.templateFolder = "/nowhere/отчёт";
    p.form1.Button2->click();
    QCOMPARE(p.dialogs.texts(),
             QStringList{"Отчёт не составлен: не найден шаблон «/nowhere/отчёт/otchet4.rtf»."});
}

void TestReport::withoutWordProcessor() {
    Program p(".");
    QTemporaryDir dir;
    p.word.canShow = false;
    p.word.file = dir.filePath("report.rtf");
    QFile saved(p.word.file);
    QVERIFY(saved.open(QIODevice::WriteOnly));
    saved.close();
    EnterDesign(p);
    p.form1.Button2->click();
    QCOMPARE(p.word.calls.last(), "SetWordVisible(true)");
    QCOMPARE(p.word.values().size() + 1, qsizetype(ReportTableFor(4)->rows.size()));
    QCOMPARE(p.dialogs.texts(), QStringList{"Не найден текстовый процессор, чтобы показать отчёт. "
                                            "Отчёт сохранён в файле «" +
                                            p.word.file + "»."});
    // A file that was not written is never claimed: the reason is given.
    QVERIFY(saved.remove());
    p.word.failure = "не удалось записать файл «" + p.word.file + "»: Отказано в доступе";
    p.dialogs.clear();
    p.form1.Button2->click();
    QCOMPARE(p.dialogs.texts(), QStringList{"Отчёт не сохранён: не удалось записать файл «" +
                                            p.word.file + "»: Отказано в доступе."});
    // A word processor that cannot show it: the same.
    p.word.canShow = true;
    p.word.showFails = true;
    p.word.failure = "не удалось записать отчёт в папку «/x»: Нет такого файла или каталога";
    p.dialogs.clear();
    p.form1.Button2->click();
    QCOMPARE(p.dialogs.texts(), QStringList{"Отчёт не сохранён: не удалось записать отчёт в "
                                            "папку «/x»: Нет такого файла или каталога."});
}

void TestReport::everyRodTypeHasItsReport() {
    for (int code = 1; code <= 5; ++code) {
        Program p(",");
        ToRodPage(p, false, code - 1);
        Calculate(p, kRodInputs[code - 1]);
        p.form1.Button2->click();
        const ReportTable* table = ReportTableFor(code);
        QVERIFY(table);
        QCOMPARE(p.word.calls.at(2),
                 QString("OpenDocument(%1/%2)").arg(VOSTREL_TEST_TEMPLATES, table->templateFile));
        QCOMPARE(p.word.values().size() + p.word.pictures.size(), qsizetype(table->rows.size()));
        QCOMPARE(p.word.pictures.size(), 1);
        QVERIFY2(p.dialogs.shown.isEmpty(), qPrintable(p.dialogs.texts().join('\n')));
        // Empty: the warning (nothing changed) and the numbers under zone А's
        // three formulas (zone Б applies).
        QCOMPARE(p.word.values().count(QString()), 4);
    }
}

// Each template holds every tag exactly as often as its table fills it.
void TestReport::tablesMatchTemplates() {
    QVERIFY(!ReportTableFor(0) && !ReportTableFor(7));
    for (int code = 1; code <= 6; ++code) {
        const ReportTable* table = ReportTableFor(code);
        QFile file(QDir(VOSTREL_TEST_TEMPLATES).filePath(table->templateFile));
        QVERIFY2(file.open(QIODevice::ReadOnly), table->templateFile);
        const QByteArray bytes = file.readAll();
        const rtf::Document document(std::string(bytes.constData(), size_t(bytes.size())));
        const QString text = QString::fromStdU32String(document.text());
        QMap<QString, int> filled, found;
        for (const Replacement& row : table->rows)
            ++filled[row.tag];
        static const QRegularExpression tag("#[#2][a-z0-9]{2}&");
        for (auto m = tag.globalMatch(text); m.hasNext();)
            ++found[m.next().captured()];
        QCOMPARE(found, filled);
        // The warning comes first.
        QCOMPARE(tag.match(text).captured(), "##wr&");
    }
}

// A system of four 20 m rods 2 m outside the corners of the 36 x 12 m
// building, zone Б, hx = 10: its tables a column a tag, the critical pair's
// numbers under the formulas, the verdict of the drawing.
void TestReport::systemOfRods() {
    Program p(",");
    ToRodPage(p, false, 5);
    QVERIFY(!p.form1.Button2->isEnabled()); // nothing to report before "Расчёт"
    Calculate(p, {"10"});
    QVERIFY(p.form1.Button2->isEnabled());
    p.form1.Button2->click();
    QVERIFY2(p.dialogs.shown.isEmpty(), qPrintable(p.dialogs.texts().join('\n')));
    QCOMPARE(p.word.calls.at(2),
             QString("OpenDocument(%1/otchet6.rtf)").arg(VOSTREL_TEST_TEMPLATES));
    QCOMPARE(p.word.values().size() + p.word.pictures.size(),
             qsizetype(ReportTableFor(6)->rows.size()));
    QCOMPARE(p.word.pictures.size(), 1);
    const auto filled = p.word.filled();
    QCOMPARE(filled["##wr&"], QStringList{""});
    QCOMPARE(filled["##hx&"] + filled["##nr&"] + filled["##np&"],
             (QStringList{"10", "10", "4", "4", "4", "4"}));
    QCOMPARE(filled["##sn&"].value(0), "1\n2\n3\n4");
    QCOMPARE(filled["##sx&"] + filled["##sy&"] + filled["##sh&"],
             (QStringList{"-2\n38\n38\n-2", "-2\n-2\n14\n14", "20\n20\n20\n20"}));
    QCOMPARE(filled["##s0&"] + filled["##sq&"],
             (QStringList{"18,4\n18,4\n18,4\n18,4", "13,7\n13,7\n13,7\n13,7"}));
    // The long sides are the critical pairs: hc = 18,4 − 0,14 (40 − 20).
    QCOMPARE(filled["##mr&"], QStringList{"10,8"});
    const QString critical = filled["##kp&"].value(0);
    QVERIFY2(critical == "1–2" || critical == "3–4", qPrintable(critical));
    const QStringList pairs = filled["##qn&"].value(0).split('\n');
    const QStringList rcx = filled["##qx&"].value(0).split('\n');
    QCOMPARE(pairs.size(), 4);
    QCOMPARE(rcx.at(pairs.indexOf(critical)), "10,8");
    QCOMPARE(filled["##fh&"], (QStringList{"", "\nh0 = 0,92 · 20 = 18,4 м"}));
    QCOMPARE(filled["##in&"], QStringList{"hc = 18,4 − 0,14 · (40 − 20) = 15,6 м\nrc = r0 = 30,0 "
                                          "м\nrcx = 30,0 · (15,6 − 10)/15,6 = 10,8 м"});
    QVERIFY2(filled["##cn&"].value(0).startsWith("Пара молниеотводов № " + critical),
             qPrintable(filled["##cn&"].value(0)));
    QCOMPARE(filled["##vd&"], QStringList{p.form8.figure()->verdict.text});
    QVERIFY(p.form8.figure()->verdict.inside);
    // Rods changed after the calculation: the report says so.
    p.form8.RodTable1->Table1->item(0, 1)->setText("0");
    p.word.calls.clear();
    p.form1.Button2->click();
    QVERIFY2(p.word.filled()["##wr&"].value(0).contains("изменены молниеотводы"),
             qPrintable(p.word.filled()["##wr&"].value(0)));
    // A lone rod: no pair, its own zone's numbers and conclusion.
    for (int i = 0; i < 3; ++i) {
        p.form8.RodTable1->Table1->setCurrentCell(0, 1);
        p.form8.RodTable1->Button2->click();
    }
    Click(p.form1.Button3);
    p.word.calls.clear();
    p.form1.Button2->click();
    const auto lone = p.word.filled();
    QCOMPARE(lone["##kp&"] + lone["##mr&"] + lone["##cs&"] + lone["##np&"],
             (QStringList{"—", "—", "—", "молниеотвод один, пар нет", "0", "0"}));
    QCOMPARE(lone["##fx&"], (QStringList{"", "\nrx = 1,5 · (20 − 10/0,92) = 13,7 м"}));
    QCOMPARE(lone["##cn&"],
             QStringList{"Объекты высотой hx = 10,0 м находятся в зоне защиты: rx = 13,7 м."});
}

void TestReport::progressWindowPaints() {
    Program p(",");
    EnterDesign(p);
    PaintCounter painted(Find<QProgressBar>(p.form7, "ProgressBar1"));
    QList<int> seen; // paints by each replacement
    p.word.onReplace = [&] { seen << painted.count; };
    p.form1.Button2->click();
    QCOMPARE(seen.size(), qsizetype(ReportTableFor(4)->rows.size()));
    QVERIFY2(seen.first() >= 1, "the progress window was not painted before the work");
    for (qsizetype i = 1; i < seen.size(); ++i)
        QVERIFY2(seen[i] > seen[i - 1], qPrintable(QString("step %1 was not painted").arg(i)));
}

QTEST_MAIN(TestReport)
#include "tst_report.moc"
