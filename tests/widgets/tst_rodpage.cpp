// The lightning-rod page through a whole design with the catenary, and the
// rod-height window.
#include "fixture.h"

#include "ui/controls.h"
#include "windows/rodtable.h"

#include <QAccessible>
#include <QGroupBox>
#include <QTableWidget>
#include <cmath>
#include <functional>

using namespace vostrel;

namespace {
// The cells of a table, row after row, "|" between the columns.
QStringList Cells(const QTableWidget* table) {
    QStringList rows;
    for (int r = 0; r < table->rowCount(); ++r) {
        QStringList row;
        for (int c = 0; c < table->columnCount(); ++c)
            row << (table->item(r, c) ? table->item(r, c)->text() : QString());
        rows << row.join('|');
    }
    return rows;
}
} // namespace

class TestRodPage : public QObject {
    Q_OBJECT
private slots:
    void wholeDesign_data();
    void wholeDesign();
    void hxNotBelowTop_data();
    void hxNotBelowTop();
    void badSpanStopsAfterReportEnabled();
    void backThenNextEmptiesPage();
    void enterChainSkipsHiddenField();
    void calculationNeedsBareFrame();
    void rodHeight_data();
    void rodHeight();
    void rodHeightBlanksOnDeactivation();
    void rodHeightWithoutRodType();
    void rodHeightRefused_data();
    void rodHeightRefused();
    void systemOfRods();
    void systemRodDragged();
};

void TestRodPage::wholeDesign_data() {
    QTest::addColumn<QString>("separator");
    QTest::addColumn<bool>("zoneA");
    QTest::addColumn<QString>("span");
    QTest::addColumn<QStringList>("results"); // with a comma
    QTest::addColumn<double>("rx2");
    QTest::addColumn<double>("r02");
    for (const QString sep : {",", "."}) {
        QTest::addRow("%s zone A", qPrintable(sep))
            << sep << true << "60" << QStringList{"  15,3", "  23,5", "  8,1"} << 16.2741176
            << 46.98;
        QTest::addRow("%s zone B", qPrintable(sep))
            << sep << false << "60" << QStringList{"  16,6", "  30,6", "  12,1"} << 24.2434783
            << 61.2;
        QTest::addRow("%s zone B, other span", qPrintable(sep))
            << sep << false << "119,9" << QStringList{"  16,6", "  30,6", "  12,1"} << 24.2434783
            << 61.2;
        // From 120 m on the cable sags 3 m: h = 17.
        QTest::addRow("%s zone B, long span", qPrintable(sep))
            << sep << false << "145,5" << QStringList{"  15,6", "  28,9", "  10,4"} << 20.8434783
            << 57.8;
    }
}

void TestRodPage::wholeDesign() {
    QFETCH(QString, separator);
    QFETCH(bool, zoneA);
    QFETCH(QString, span);
    QFETCH(QStringList, results);
    QFETCH(double, rx2);
    QFETCH(double, r02);
    Program p(separator);
    MainWindow& f = p.form1;
    ToRodPage(p, zoneA);
    QCOMPARE(f.ZoneAFlag(), zoneA ? 1 : 0);
    QCOMPARE(f.ZoneBFlag(), zoneA ? 0 : 1);
    Type(f.Edit8, "20");
    PressEnter(f.Edit8);
    QCOMPARE(f.focusWidget(), f.Edit9);
    Type(f.Edit9, Sep(span, separator));
    PressEnter(f.Edit9);
    Type(f.Edit10, "10");
    MoveOver(f.GroupBox3, {200, 200});
    QVERIFY(f.Button3->isEnabled());
    Click(f.Button3);
    QVERIFY2(p.dialogs.shown.isEmpty(), qPrintable(p.dialogs.texts().join('\n')));
    for (QString& r : results)
        r = Sep(r, separator);
    QCOMPARE(ResultTexts(f).first(3), results);
    QVERIFY(f.Button2->isEnabled());
    QVERIFY(std::fabs(f.DoubledRx() - rx2) < 1e-6);
    QVERIFY(std::fabs(f.DoubledR0() - r02) < 1e-9);
}

void TestRodPage::hxNotBelowTop_data() {
    QTest::addColumn<bool>("zoneA");
    QTest::addColumn<QString>("hx");
    QTest::addColumn<QStringList>("results");
    QTest::newRow("zone A, hx above h0")
        << true << "20" << QStringList{"  15,3", "  23,5", "  -7,2"};
    QTest::newRow("zone B, hx above h0")
        << false << "20" << QStringList{"  16,6", "  30,6", "  -6,4"};
    QTest::newRow("zone A, hx equal to h0")
        << true << "15,3" << QStringList{"  15,3", "  23,5", "  0,0"};
    QTest::newRow("zone B, hx equal to h0")
        << false << "16,56" << QStringList{"  16,6", "  30,6", "  0,0"};
}

void TestRodPage::hxNotBelowTop() {
    QFETCH(bool, zoneA);
    QFETCH(QString, hx);
    QFETCH(QStringList, results);
    Program p(",");
    MainWindow& f = p.form1;
    ToRodPage(p, zoneA);
    Calculate(p, {"20", "60", hx});
    // The message, then the results all the same.
    QCOMPARE(p.dialogs.texts(),
             QStringList{"Высота зоны защиты hx не может быть больше вершины защищаемой зоны"});
    QCOMPARE(p.dialogs.shown.front().kind, RecordingDialogs::Shown::Message);
    QCOMPARE(ResultTexts(f).first(3), results);
}

void TestRodPage::badSpanStopsAfterReportEnabled() {
    Program p(",");
    MainWindow& f = p.form1;
    ToRodPage(p, false);
    Calculate(p, {"20", "6.0", "10"});
    QCOMPARE(p.dialogs.texts(), QStringList{"'6.0' is not a valid floating point value."});
    QVERIFY(f.Button2->isEnabled());
    QCOMPARE(ResultTexts(f).first(3), (QStringList{"", "", ""}));
    QCOMPARE(f.DoubledRx(), 0.0);
    // Emptied after enabling: the conversion stops it too.
    p.dialogs.clear();
    f.Edit9->setText("60");
    f.Edit8->clear();
    Click(f.Button3);
    QCOMPARE(p.dialogs.texts(), QStringList{"'' is not a valid floating point value."});
}

void TestRodPage::backThenNextEmptiesPage() {
    Program p(",");
    MainWindow& f = p.form1;
    ToRodPage(p, false);
    Calculate(p, kRodInputs[3]);
    Click(f.Button4);
    QCOMPARE(f.PageControl1->activePage(), f.TabSheet1);
    QVERIFY(!f.Button3->isEnabled());
    QCOMPARE(f.Edit8->text(), "20"); // kept until the next "Далее>>"
    QCOMPARE(f.Edit13->text(), "  16,6");
    Click(f.Button1);
    QCOMPARE(f.PageControl1->activePage(), f.TabSheet2);
    for (QLineEdit* e : {f.Edit8, f.Edit9, f.Edit10, f.Edit11, f.Edit13, f.Edit14, f.Edit15,
                         f.Edit16, f.Edit17, f.Edit18})
        QVERIFY2(e->text().isEmpty(), qPrintable(e->objectName()));
    QVERIFY(!f.Button3->isEnabled());
    QVERIFY(f.Button2->isEnabled());
    // The doubled radii of the earlier calculation stay for the report.
    QVERIFY(std::fabs(f.DoubledRx() - 24.2434783) < 1e-6);
}

void TestRodPage::enterChainSkipsHiddenField() {
    Program p(",");
    MainWindow& f = p.form1;
    ToRodPage(p, false);
    f.Edit10->setFocus();
    PressEnter(f.Edit10); // Edit11 is hidden
    QCOMPARE(f.focusWidget(), f.Edit10);
    Type(f.Edit10, "1x0");
    QCOMPARE(f.Edit10->text(), "10");
}

void TestRodPage::calculationNeedsBareFrame() {
    Program p(",");
    MainWindow& f = p.form1;
    ToRodPage(p, false);
    Type(f.Edit8, "20");
    Type(f.Edit9, "60");
    MoveOver(f.GroupBox3, {200, 200});
    QVERIFY(!f.Button3->isEnabled()); // hx missing
    Type(f.Edit10, "10");
    for (QWidget* w : std::initializer_list<QWidget*>{f.Label7, f.Edit8, f.Edit10, f.GroupBox4,
                                                      f.Label15, f.Edit13})
        MoveOver(w);
    QVERIFY(!f.Button3->isEnabled());
    // The left frame tracks the mouse and passes moves on to the outer frame,
    // which enables "Далее>>" only from its own surface, not from this one.
    f.Button1->setEnabled(false);
    MoveOver(f.GroupBox3, {200, 200});
    QVERIFY(f.Button3->isEnabled());
    QVERIFY(!f.Button1->isEnabled());
    MoveOver(f.GroupBox2, {773, 100});
    QVERIFY(f.Button1->isEnabled());
}

void TestRodPage::rodHeight_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<bool>("zoneA");
    QTest::addColumn<QStringList>("captions"); // the third, a catenary's span
    QTest::addColumn<QString>("span");         // typed into the third field
    QTest::addColumn<QString>("opened");       // the result line when opened
    QTest::addColumn<QString>("result");
    const QString hx = "Высота защищаемой зоны hx, м", rx = "Радиус защищаемой зоны rx, м";
    const QString L = "Расстояние между молниеотводами L, м",
                  hc = "Высота зоны посередине между молниеотводами hc, м";
    const QString a = "Длина пролёта троса a, м";
    QTest::newRow("1") << 0 << false << QStringList{hx, rx, ""} << ""
                       << " "
                       << "Высота одиночного стержневого молниеотвода для зоны Б равна 18,9 м";
    QTest::newRow("1 zone A") << 0 << true << QStringList{hx, rx, ""} << ""
                              << " "
                              << "Высота одиночного стержневого молниеотвода для зоны А равна "
                                 "23,2 м";
    QTest::newRow("2") << 1 << false << QStringList{L, hc, ""} << ""
                       << " "
                       << "Высота молниеотвода для зоны Б равна 12,6 м";
    QTest::newRow("3") << 2 << false << QStringList{hx, rx, ""} << ""
                       << "Молниеотводы разной высоты: высота каждого выбирается\nкак для "
                          "одиночного стержневого молниеотвода"
                       << "Высота молниеотвода (как одиночного стержневого) для зоны Б равна "
                          "18,9 м";
    QTest::newRow("4") << 3 << false << QStringList{hx, rx, a} << "60"
                       << " "
                       << "Высота опор одиночного тросового молниеотвода для зоны Б равна 19,9 м"
                          "\nтрос на высоте 17,9 м, провес 2 м при пролёте меньше 120 м";
    // rx = (1,35 − 0,0025h)(h − 10/0,85) = 12 for h = 21,0: supports 24,0 m.
    QTest::newRow("4 zone A, long span")
        << 3 << true << QStringList{hx, rx, a} << "120"
        << " "
        << "Высота опор одиночного тросового молниеотвода для зоны А равна 24,0 м"
           "\nтрос на высоте 21,0 м, провес 3 м при пролёте от 120 м";
    QTest::newRow("5") << 4 << false << QStringList{L, hc, a} << "60"
                       << " "
                       << "Высота опор двойного тросового молниеотвода для зоны Б равна 14,7 м"
                          "\nтросы на высоте 12,7 м, провес 2 м при пролёте меньше 120 м";
}

void TestRodPage::rodHeight() {
    QFETCH(int, index);
    QFETCH(bool, zoneA);
    QFETCH(QStringList, captions);
    QFETCH(QString, span);
    QFETCH(QString, opened);
    QFETCH(QString, result);
    Program p(",");
    MainWindow& f = p.form1;
    RodHeightWindow& w = p.form6;
    f.Edit5->setText(zoneA ? "       А" : "       Б"); // as the building type writes it
    PickRodType(f.ComboBox1, index);
    MoveOver(f.TabSheet1, {400, 292});
    QVERIFY(f.Button5->isEnabled());
    Click(f.Button5);
    QCOMPARE(f.Label14->text(), QString::number(index + 1));
    QVERIFY(w.form.isVisible());
    QCOMPARE((QStringList{w.Label1->text(), w.Label2->text(), w.Label5->text()}), captions);
    QCOMPARE(w.Edit3->isVisible(), !captions[2].isEmpty());
    QCOMPARE(w.Edit1->accessibleName(), captions[0]);
    // The captions of the inputs share one font size.
    QCOMPARE(w.Label1->font().pointSizeF(), w.Label2->font().pointSizeF());
    QCOMPARE(w.Label1->font().pointSizeF(), w.Label5->font().pointSizeF());
    QCOMPARE(w.Label4->text(), opened);
    QVERIFY(!w.Button1->isEnabled());
    Type(w.Edit1, "1a0");
    PressEnter(w.Edit1); // dropped: no move, no calculation
    QCOMPARE(w.form.focusWidget(), w.Edit1);
    MoveOver(w.GroupBox1, {400, 60});
    QVERIFY(!w.Button1->isEnabled()); // one field only
    Type(w.Edit2, "12");
    MoveOver(w.Label1);
    MoveOver(w.Edit2);
    QVERIFY(!w.Button1->isEnabled());
    if (!span.isEmpty()) {
        MoveOver(w.GroupBox1, {400, 60});
        QVERIFY(!w.Button1->isEnabled()); // the span is missing
        Type(w.Edit3, span);
    }
    MoveOver(w.GroupBox1, {400, 60});
    QVERIFY(w.Button1->isEnabled());
    Click(w.Button1);
    QCOMPARE(w.Label4->text(), result);
    // A screen reader reads the sentence itself.
    QCOMPARE(QAccessible::queryAccessibleInterface(w.Label4)->text(QAccessible::Name),
             w.Label4->text());
    QVERIFY(p.dialogs.shown.isEmpty());
    // A field emptied after enabling stops the calculation with the message.
    w.Edit2->clear();
    Click(w.Button1);
    QCOMPARE(p.dialogs.texts(), QStringList{"'' is not a valid floating point value."});
    QCOMPARE(w.Label4->text(), result);
}

// Heights the instruction's formulas do not reach, and spans it gives no
// cable height for, are refused with a message; the result line stays.
void TestRodPage::rodHeightRefused_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<bool>("zoneA");
    QTest::addColumn<QStringList>("inputs");
    QTest::addColumn<QString>("message");
    const QString above = "Для этих значений нужна высота больше 150 м: формулы инструкции "
                          "действуют только до 150 м";
    QTest::newRow("rod B above 150") << 0 << false << QStringList{"10", "220"} << above;
    QTest::newRow("rod A out of reach") << 0 << true << QStringList{"10", "500"} << above;
    // A cable at 148,5 m hangs from supports of 150,5 m.
    QTest::newRow("supports above 150") << 3 << false << QStringList{"0", "252,45", "60"} << above;
    QTest::newRow("span 150") << 3 << false << QStringList{"10", "12", "150"}
                              << "Длина пролёта троса a должна быть меньше 150 м";
    const QString huge = "17" + QString(307, '0'); // (1,85·1,7·10^308 + q)/1,7 overflows
    QTest::newRow("overflow") << 3 << false << QStringList{huge, "12", "60"}
                              << "Введённые значения слишком велики: высота молниеотвода не "
                                 "вычисляется";
}

void TestRodPage::rodHeightRefused() {
    QFETCH(int, index);
    QFETCH(bool, zoneA);
    QFETCH(QStringList, inputs);
    QFETCH(QString, message);
    Program p(",");
    MainWindow& f = p.form1;
    RodHeightWindow& w = p.form6;
    f.Edit5->setText(zoneA ? "       А" : "       Б");
    PickRodType(f.ComboBox1, index);
    MoveOver(f.TabSheet1, {400, 292});
    Click(f.Button5);
    QLineEdit* fields[] = {w.Edit1, w.Edit2, w.Edit3};
    for (int i = 0; i < inputs.size(); ++i)
        Type(fields[i], inputs[i]);
    MoveOver(w.GroupBox1, {400, 60});
    w.Label4->setText("before");
    Click(w.Button1);
    QCOMPARE(p.dialogs.texts(), QStringList{message});
    QCOMPARE(w.Label4->text(), "before");
}

void TestRodPage::rodHeightBlanksOnDeactivation() {
    Program p(".");
    MainWindow& f = p.form1;
    RodHeightWindow& w = p.form6;
    PickRodType(f.ComboBox1, 3);
    MoveOver(f.TabSheet1, {400, 292});
    Click(f.Button5);
    QVERIFY(QTest::qWaitForWindowActive(&w.form));
    Type(w.Edit1, "10");
    Type(w.Edit2, "12.121739");
    Type(w.Edit3, "60");
    MoveOver(w.GroupBox1, {400, 60});
    Click(w.Button1);
    QCOMPARE(w.Label4->text(),
             "Высота опор одиночного тросового молниеотвода для зоны Б равна "
             "20.0 м\nтрос на высоте 18.0 м, провес 2 м при пролёте меньше 120 м");
    // A message box of its own does not count as another window.
    w.Edit1->setText("1,0");
    Click(w.Button1);
    QCOMPARE(p.dialogs.texts(), QStringList{"'1,0' is not a valid floating point value."});
    QVERIFY(w.Button1->isEnabled());
    // The main window becomes active: everything is blanked, still shown.
    f.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&f.form));
    for (QLabel* label : {w.Label1, w.Label2, w.Label3, w.Label4, w.Label5})
        QCOMPARE(label->text(), " ");
    QVERIFY(w.Edit1->text().isEmpty());
    QVERIFY(w.Edit2->text().isEmpty());
    QVERIFY(w.Edit3->text().isEmpty());
    QVERIFY(!w.Button1->isEnabled());
    QVERIFY(w.form.isVisible());
    // Activated again by itself: the captions do not come back.
    w.form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w.form));
    QCOMPARE(w.Label1->text(), " ");
    // The opener writes them again.
    Click(f.Button5);
    QCOMPARE(w.Label1->text(), "Высота защищаемой зоны hx, м");
}

void TestRodPage::rodHeightWithoutRodType() {
    Program p(",");
    MainWindow& f = p.form1;
    Type(f.ComboBox1->lineEdit(), "свой");
    MoveOver(f.TabSheet1, {400, 292});
    QVERIFY(f.Button5->isEnabled());
    Click(f.Button5);
    QCOMPARE(f.Label14->text(), "0");
    QVERIFY(!p.window6.isVisible());
    // Picked and taken once, then typed over: the code taken stays.
    PickRodType(f.ComboBox1, 1);
    Click(f.Button5);
    QCOMPARE(f.Label14->text(), "2");
    QVERIFY(p.window6.isVisible());
    p.window6.close();
    Type(f.ComboBox1->lineEdit(), "x");
    Click(f.Button5);
    QCOMPARE(f.Label14->text(), "2");
    QVERIFY(p.window6.isVisible());
}

QTEST_MAIN(TestRodPage)
#include "tst_rodpage.moc"

// A system of rods: four rods at the corners of the 36 x 12 m building, the
// table typed in the plan window, its results, and refusals that change
// nothing.
void TestRodPage::systemOfRods() {
    Program p(",");
    ToRodPage(p, false, 5);
    MainWindow& f = p.form1;
    RodTable* rods = p.form8.RodTable1;
    QVERIFY(!rods->isHidden());
    QVERIFY(!f.Edit8->isHidden() && f.Edit9->isHidden());
    QCOMPARE(rods->Button1->accessibleName(), "Добавить");
    QCOMPARE(rods->Button2->accessibleName(), "Удалить");
    const QStringList corners = {"1|-2|-2|20", "2|38|-2|20", "3|38|14|20", "4|-2|14|20"};
    QCOMPARE(Cells(rods->Table1), corners);

    // Zone B, h = 20: h0 = 18,4, r0 = 30, rx = 1,5 (20 - 10/0,92) = 13,7 at
    // hx = 10. The four sides (the corners lie on one circle: no diagonal)
    // are the pairs, hc = 18,4 - 0,14 (L - 20) and rcx = 30 (hc - 10) / hc:
    // the least on the long sides, 30 * 5,6 / 15,6 = 10,8.
    Calculate(p, {"10"});
    QCOMPARE(p.dialogs.texts(), QStringList());
    QCOMPARE(ResultTexts(f).first(3), QStringList({"  4", "  4", "  10,8"}));
    QCOMPARE(Cells(rods->Table2).first(), "1|18,4|30,0|13,7");
    QCOMPARE(rods->Table3->rowCount(), 4);
    QVERIFY(Cells(rods->Table3).contains("1–2|40,0|h < L ≤ 6h|15,6|30,0|10,8"));
    QVERIFY(f.Button6->isEnabled());
    QVERIFY(p.form8.figure() && p.form8.figure()->drawing.system);
    QVERIFY(p.form8.figure()->verdict.inside); // the rods' rectangle holds the roof
    QCOMPARE(Find<QLabel>(p.window1, "Label24")->text(), p.form8.figure()->verdict.text);
    const QStringList pairs = Cells(rods->Table3);

    // Refused: nothing computed or changed.
    const auto refused = [&](int row, int column, const QString& text, const QString& why) {
        const QString was = rods->Table1->item(row, column)->text();
        rods->Table1->item(row, column)->setText(text);
        p.dialogs.clear();
        Click(f.Button3);
        QCOMPARE(p.dialogs.texts().size(), 1);
        QVERIFY2(p.dialogs.texts().first().contains(why), qPrintable(p.dialogs.texts().first()));
        QCOMPARE(ResultTexts(f).first(3), QStringList({"  4", "  4", "  10,8"}));
        QCOMPARE(Cells(rods->Table3), pairs);
        rods->Table1->item(row, column)->setText(was);
    };
    refused(1, 1, "-2,05", "Молниеотводы № 1 и № 2 стоят в одной точке");
    refused(2, 3, "0", "Высота молниеотвода № 3 должна быть больше 0 м");
    refused(3, 3, "150,1", "Высота молниеотвода № 4 должна быть не больше 150 м");
    refused(3, 2, "10001", "Координата y молниеотвода № 4 должна быть в пределах ±10 000 м");
    refused(2, 1, "3x", "Молниеотвод № 3, поле «x»");

    // A rod added beyond the building, one removed: the count follows.
    rods->Button1->click(); // the plan window is not shown
    QCOMPARE(rods->Table1->rowCount(), 5);
    rods->Table1->item(4, 1)->setText("18");
    rods->Table1->item(4, 2)->setText("30");
    rods->Table1->setCurrentCell(0, 1);
    rods->Button2->click();
    QCOMPARE(Cells(rods->Table1).first(), "1|38|-2|20");
    Click(f.Button3);
    QCOMPARE(ResultTexts(f).first(), "  4");
    QVERIFY(p.form8.figure()->verdict.inside);
    // Rod 1 moved 42 m away: the corner (36, 0) lies outside every joined
    // pair's region and 14,1 m from rod 2, beyond its rx = 13,7 at 10 m.
    rods->Table1->item(0, 1)->setText("80");
    Click(f.Button3);
    QVERIFY(!p.form8.figure()->verdict.inside);

    // "Подобрать высоту": one height for every rod; with it the building is
    // protected, with 0,1 m less it is not.
    p.dialogs.answer = Dialogs::Answer::Yes;
    p.form8.Button2->click(); // the plan window is not shown
    const QString h = rods->rods().front().h;
    for (const RodRow& rod : rods->rods())
        QCOMPARE(rod.h, h);
    Click(f.Button3);
    QVERIFY(p.form8.figure()->verdict.inside);
    const double found = QString(h).replace(',', '.').toDouble();
    rods->setHeights(QString::number(found - 0.1, 'f', 1).replace('.', ','));
    Click(f.Button3);
    QVERIFY(!p.form8.figure()->verdict.inside);
}

// A rod of a system dragged in the plan: its x in the table follows to
// 0,1 m, the zone and the verdict with it; a place the checks refuse leaves
// the last zone shown, without a message.
void TestRodPage::systemRodDragged() {
    Program p(",");
    ToRodPage(p, false, 5);
    MainWindow& f = p.form1;
    RodTable* rods = p.form8.RodTable1;
    Calculate(p, {"10"});
    p.form8.show();
    QVERIFY(QTest::qWaitForWindowExposed(&p.form8));
    QWidget* canvas = p.form8.Image1;
    // The plan as drawn now; picked 3 px off the rod at (x, y), moved `dx`
    // px along x: where that rod lands, rounded to 0,1 m.
    QTransform plan;
    QPoint from;
    const auto pick = [&](double x, double y) {
        RenderZoneDrawing(*p.form8.figure(), canvas->size(), canvas->logicalDpiX(),
                          {.plan = &plan});
        from = plan.map(QPointF(x, y)).toPoint() + QPoint(3, 2);
        QTest::mousePress(canvas, Qt::LeftButton, {}, from);
        return [&, x](int dx) {
            const QTransform metres = plan.inverted();
            return std::round((x + metres.map(QPointF(from + QPoint(dx, 0))).x() -
                               metres.map(QPointF(from)).x()) *
                              10) /
                   10;
        };
    };
    const auto moveTo = [&](int dx) { QTest::mouseMove(canvas, from + QPoint(dx, 0)); };

    // Rod 1 halfway to rod 2, then onto it (typed where the drag ends, not
    // yet computed): the last place is refused, the halfway zone stays.
    std::function<double(int)> landing = pick(-2, -2);
    const int onto = static_cast<int>(std::lround(40 * plan.m11()));
    const QString there = p.services.numbers.fixed(landing(onto), 1);
    rods->Table1->item(1, 1)->setText(there);
    moveTo(onto / 2);
    QCOMPARE(p.form8.figure()->drawing.system->rods[0].x, landing(onto / 2));
    const QStringList halfway = ResultTexts(f).first(3);
    const QStringList pairs = Cells(rods->Table3);
    moveTo(onto);
    QTest::mouseRelease(canvas, Qt::LeftButton, {}, from + QPoint(onto, 0));
    QCOMPARE(Cells(rods->Table1).first(), "1|" + there + "|-2,0|20");
    QCOMPARE(p.dialogs.texts(), QStringList());
    QCOMPARE(ResultTexts(f).first(3), halfway);
    QCOMPARE(Cells(rods->Table3), pairs);
    QCOMPARE(p.form8.figure()->drawing.system->rods[0].x, landing(onto / 2));
    // "Расчёт" still says why.
    Click(f.Button3);
    QCOMPARE(p.dialogs.texts().size(), 1);
    QVERIFY(p.dialogs.texts().first().contains("Молниеотводы № 1 и № 2 стоят в одной точке"));
    p.dialogs.clear();

    // The rods of the typed case that loses the corner (36, 0): rod 1 from
    // (38, -2) dragged 42 m along x, the verdict turns.
    rods->setRods({{"38", "-2", "20"}, {"38", "14", "20"}, {"-2", "14", "20"}, {"18", "30", "20"}});
    Click(f.Button3);
    QVERIFY(p.form8.figure()->verdict.inside);
    const QStringList results = ResultTexts(f).first(3);
    landing = pick(38, -2);
    const int away = static_cast<int>(std::lround(42 * plan.m11()));
    moveTo(away / 2);
    moveTo(away);
    QTest::mouseRelease(canvas, Qt::LeftButton, {}, from + QPoint(away, 0));
    const QString x = p.services.numbers.fixed(landing(away), 1);
    QCOMPARE(Cells(rods->Table1).first(), "1|" + x + "|-2,0|20");
    QCOMPARE(p.dialogs.texts(), QStringList());
    QCOMPARE(p.form8.figure()->drawing.system->rods[0].x, landing(away));
    QVERIFY(!p.form8.figure()->verdict.inside);
    QCOMPARE(Find<QLabel>(p.window1, "Label24")->text(), p.form8.figure()->verdict.text);
    QVERIFY(ResultTexts(f).first(3) != results);
}
