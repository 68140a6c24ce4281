// The rod page for each rod type: its layout, the enabling of "Расчёт", the
// Enter chain, the computed zone and the messages of a calculation.
#include "fixture.h"

#include "app/rodlayouts.h"

#include <QAccessible>

using namespace vostrel;

namespace {
// The texts of the visible fields emptied.
QStringList Emptied(QStringList texts) {
    for (QString& text : texts)
        if (text != QStringLiteral("-"))
            text.clear();
    return texts;
}
QString Name(QWidget* w) {
    return QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name);
}

} // namespace

class TestRodTypes : public QObject {
    Q_OBJECT
private slots:
    void layout_data();
    void layout();
    void zone_data();
    void zone();
    void limitsRefused_data();
    void limitsRefused();
    void hugeInputsWriteNothing();
};

// The page follows the rod type's layout table: the rows it captions are
// shown with that caption, named by it for screen readers, and chained by
// Enter; the others are hidden.
void TestRodTypes::layout_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<QStringList>("inputs");  // accessible names; empty: hidden
    QTest::addColumn<QStringList>("results"); // likewise
    const auto name = [](const char* first, const char* second = nullptr) {
        return (QString::fromUtf8(first ? first : "") + QString::fromUtf8(second ? second : ""))
            .simplified();
    };
    for (int index = 0; index < 5; ++index) {
        const RodLayout& layout = RodLayoutFor(index + 1);
        QStringList inputs, results;
        for (const char* caption : layout.inputs)
            inputs << name(caption);
        for (const ResultRow& row : layout.results)
            results << name(row.caption[0], row.caption[1]);
        QTest::addRow("rod type %d", index + 1) << index << inputs << results;
    }
}

void TestRodTypes::layout() {
    QFETCH(int, index);
    QFETCH(QStringList, inputs);
    QFETCH(QStringList, results);
    Program p(",");
    MainWindow& f = p.form1;
    ToRodPage(p, false, index);
    QCOMPARE(f.PageControl1->activePage(), f.TabSheet2);
    QVERIFY(!f.Button2->isEnabled()); // no report before a calculation
    QVERIFY(f.Button4->isEnabled());
    const QList<QLabel*> inputCaptions{f.Label7, f.Label8, f.Label10, f.Label13};
    for (int i = 0; i < 4; ++i) {
        QLineEdit* field = InputFields(f)[i];
        QCOMPARE(field->isVisible(), !inputs[i].isEmpty());
        QCOMPARE(inputCaptions[i]->text(), inputs[i].isEmpty() ? "" : " " + inputs[i]);
        if (field->isVisible())
            QCOMPARE(Name(field), inputs[i]);
    }
    const QList<QPair<QLabel*, QLabel*>> resultCaptions{
        {f.Label15, nullptr},   {f.Label16, nullptr},   {f.Label17, nullptr},
        {f.Label18, f.Label19}, {f.Label20, f.Label21}, {f.Label22, f.Label23}};
    for (int i = 0; i < 6; ++i) {
        QLineEdit* field = ResultFields(f)[i];
        QCOMPARE(field->isVisible(), !results[i].isEmpty());
        const auto [first, second] = resultCaptions[i];
        // Each line begins with one blank; the name joins them with one.
        const QString caption = first->text() + (second ? second->text() : QString());
        QCOMPARE(caption.simplified(), results[i]);
        QVERIFY(results[i].isEmpty() ||
                (first->text().startsWith(" ") && !first->text().startsWith("  ")));
        if (field->isVisible())
            QCOMPARE(Name(field), results[i]);
    }
    // "Расчёт" needs every visible input filled, and the bare frame.
    const qsizetype needed = inputs.count(QString()) == 2 ? 2 : inputs.size() - inputs.count("");
    for (qsizetype i = 0; i < needed; ++i) {
        MoveOver(f.GroupBox3, {200, 200});
        QVERIFY(!f.Button3->isEnabled());
        Type(InputFields(f)[i], "1");
        if (i + 1 < needed) { // Enter moves along the visible inputs
            PressEnter(InputFields(f)[i]);
            QCOMPARE(f.focusWidget(), InputFields(f)[i + 1]);
        }
    }
    PressEnter(InputFields(f)[needed - 1]); // the last visible one: the focus stays
    QCOMPARE(f.focusWidget(), InputFields(f)[needed - 1]);
    MoveOver(f.Label7);
    QVERIFY(!f.Button3->isEnabled());
    MoveOver(f.GroupBox3, {200, 200});
    QVERIFY(f.Button3->isEnabled());
}

void TestRodTypes::zone_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<bool>("zoneA");
    QTest::addColumn<QStringList>("inputs");
    QTest::addColumn<QStringList>("results"); // "-": hidden
    QTest::addColumn<QString>("message");
    const QString top = "Высота зоны защиты hx не может быть больше вершины защищаемой зоны";
    QTest::newRow("single rod, zone A")
        << 0 << true << QStringList{"30", "10"}
        << QStringList{"  25,5", "  31,2", "  19,0", "-", "-", "-"} << "";
    // The instruction's limits themselves: rods and supports of 150 m, a span
    // of 149,9 m (the cable sags 3 m).
    QTest::newRow("single rod of 150 m")
        << 0 << false << QStringList{"150", "10"}
        << QStringList{"  138,0", "  225,0", "  208,7", "-", "-", "-"} << "";
    QTest::newRow("double catenary on 150 m supports, span 149,9 m")
        << 4 << false << QStringList{"150", "149,9", "25", "6"}
        << QStringList{"  135,2", "  249,9", "  238,8", "  135,2", "  249,9", "  238,8"} << "";
    QTest::newRow("single rod, zone B, hx above h0")
        << 0 << false << QStringList{"30", "28"}
        << QStringList{"  27,6", "  45,0", "  -0,7", "-", "-", "-"} << top;
    QTest::newRow("two rods, zone B")
        << 1 << false << QStringList{"30", "40", "10"}
        << QStringList{"  27,6", "  45,0", "  28,7", "  26,2", "  45,0", "  27,8"} << "";
    QTest::newRow("two rods, zone A, wide")
        << 1 << true << QStringList{"30", "80", "10"}
        << QStringList{"  25,5", "  31,2", "  19,0", "  16,6", "  27,0", "  10,7"} << "";
    QTest::newRow("two rods, zone A, beyond 4h")
        << 1 << true << QStringList{"30", "121", "10"}
        << QStringList{"  25,5", "  31,2", "  19,0", "", "", ""}
        << "Молниеотводы стоят дальше 4h друг от друга и рассматриваются как одиночные";
    QTest::newRow("two rods, zone B, hx above hc")
        << 1 << false << QStringList{"30", "40", "26,3"}
        << QStringList{"  27,6", "  45,0", "  2,1", "  26,2", "  45,0", "  -0,2"}
        << "Высота зоны защиты hx не меньше высоты зоны посередине hc: посередине между "
           "молниеотводами на этой высоте защиты нет";
    QTest::newRow("unequal rods, zone B")
        << 2 << false << QStringList{"30", "20", "35", "8"}
        << QStringList{"  32,0", "  17,0", "  21,6", "  37,5", "  23,6", "-"} << "";
    QTest::newRow("unequal rods, zone B, beyond 6hmin")
        << 2 << false << QStringList{"30", "20", "121", "8"}
        << QStringList{"  32,0", "  17,0", "", "", "", "-"}
        << "Молниеотводы стоят дальше 6hmin друг от друга и рассматриваются как одиночные";
    // hx between the tops of the zones (27,6 and 18,4 m): the first rod still protects.
    QTest::newRow("unequal rods, zone B, hx between the tops")
        << 2 << false << QStringList{"30", "20", "35", "19"}
        << QStringList{"  14,0", "  -1,0", "  21,6", "  37,5", "  4,5", "-"}
        << "Высота зоны защиты hx не меньше вершины зоны защиты второго молниеотвода: на этой "
           "высоте он не защищает";
    QTest::newRow("unequal rods, zone B, hx between the tops, first lower")
        << 2 << false << QStringList{"20", "30", "35", "19"}
        << QStringList{"  -1,0", "  14,0", "  21,6", "  37,5", "  4,5", "-"}
        << "Высота зоны защиты hx не меньше вершины зоны защиты первого молниеотвода: на этой "
           "высоте он не защищает";
    // h0 = 0,85 · 11,8 = 10,03 m as typed.
    QTest::newRow("single catenary, zone A, hx typed as h0")
        << 3 << true << QStringList{"13,8", "60", "10,03"}
        << QStringList{"  10,0", "  15,6", "  0,0", "-", "-", "-"} << top;
    // 6 · 10,1 = 60,6 m as typed: the inner region exists.
    QTest::newRow("two rods, zone B, L typed as 6h")
        << 1 << false << QStringList{"10,1", "60,6", "1"}
        << QStringList{"  9,3", "  15,1", "  13,5", "  2,2", "  15,1", "  8,3"} << "";
    QTest::newRow("double catenary, zone B")
        << 4 << false << QStringList{"22", "60", "25", "6"}
        << QStringList{"  18,4", "  34,0", "  22,9", "  17,8", "  34,0", "  22,5"} << "";
    QTest::newRow("double catenary, zone B, hx above hc")
        << 4 << false << QStringList{"22", "60", "25", "18"}
        << QStringList{"  18,4", "  34,0", "  0,7", "  17,8", "  34,0", "  -0,4"}
        << "Высота зоны защиты hx не меньше высоты зоны посередине hc: посередине между "
           "тросами на этой высоте защиты нет";
    QTest::newRow("double catenary, zone A, beyond 4h")
        << 4 << true << QStringList{"22", "60", "81", "6"}
        << QStringList{"  17,0", "  26,0", "  16,8", "", "", ""}
        << "Тросы натянуты дальше 4h друг от друга и рассматриваются как одиночные";
}

void TestRodTypes::zone() {
    QFETCH(int, index);
    QFETCH(bool, zoneA);
    QFETCH(QStringList, inputs);
    QFETCH(QStringList, results);
    QFETCH(QString, message);
    Program p(",");
    ToRodPage(p, zoneA, index);
    Calculate(p, inputs);
    QCOMPARE(p.dialogs.texts(), message.isEmpty() ? QStringList() : QStringList{message});
    QCOMPARE(ResultTexts(p.form1), results);
    QVERIFY(p.form1.Button2->isEnabled());
}

void TestRodTypes::limitsRefused_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<QStringList>("refused");
    QTest::addColumn<QString>("message");
    const QString rodAbove = "Высота молниеотвода должна быть не больше 150 м",
                  rodZero = "Высота молниеотвода должна быть больше 0 м",
                  supportAbove = "Высота опор троса должна быть не больше 150 м",
                  supportZero = "Высота опор троса должна быть больше 0 м";
    QTest::newRow("single rod of 200 m") << 0 << QStringList{"200", "10"} << rodAbove;
    QTest::newRow("single rod of 0 m") << 0 << QStringList{"0", "10"} << rodZero;
    QTest::newRow("two rods of 150,1 m") << 1 << QStringList{"150,1", "40", "10"} << rodAbove;
    QTest::newRow("second rod of 151 m") << 2 << QStringList{"30", "151", "35", "8"} << rodAbove;
    QTest::newRow("first rod of 0,0 m") << 2 << QStringList{"0,0", "20", "35", "8"} << rodZero;
    QTest::newRow("supports of 200 m") << 3 << QStringList{"200", "60", "6"} << supportAbove;
    QTest::newRow("two cables' supports of 0 m")
        << 4 << QStringList{"0", "60", "25", "6"} << supportZero;
    QTest::newRow("span of 150 m") << 4 << QStringList{"22", "150", "25", "6"}
                                   << "Длина пролёта троса a должна быть меньше 150 м";
}

// Past the instruction's limits nothing is computed, and no result stays.
void TestRodTypes::limitsRefused() {
    QFETCH(int, index);
    QFETCH(QStringList, refused);
    QFETCH(QString, message);
    Program p(",");
    MainWindow& f = p.form1;
    ToRodPage(p, false, index);
    Calculate(p, kRodInputs[index]);
    const QStringList before = ResultTexts(f);
    p.dialogs.clear();
    Calculate(p, refused);
    QCOMPARE(p.dialogs.texts(), QStringList{message});
    // The results it refused to compute are emptied.
    QCOMPARE(ResultTexts(f), Emptied(before));
}

void TestRodTypes::hugeInputsWriteNothing() {
    Program p(",");
    MainWindow& f = p.form1;
    ToRodPage(p, true, 1);
    Calculate(p, kRodInputs[1]);
    const QStringList before = ResultTexts(f);
    p.dialogs.clear();
    // rx = (1,1 − 0,002h)(h − hx/0,85) overflows for hx = 1,7·10^308: nothing written.
    Calculate(p, {"30", "40", "17" + QString(307, '0')});
    QCOMPARE(
        p.dialogs.texts(),
        QStringList{"Исходные данные молниеотвода слишком велики: зона защиты не вычисляется"});
    QCOMPARE(ResultTexts(f), Emptied(before));
}

QTEST_MAIN(TestRodTypes)
#include "tst_rodtypes.moc"
