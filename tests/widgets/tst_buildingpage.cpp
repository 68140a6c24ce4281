// The building page, the thunderstorm map and the building-type window.
#include "fixture.h"

#include "calc/strike.h"
#include "ui/controls.h"

#include <QAbstractItemView>
#include <QClipboard>
#include <QGroupBox>

using namespace vostrel;

class TestBuildingPage : public QObject {
    Q_OBJECT
private slots:
    void keyFilterAndEnterChain();
    void opensNeedFilledFields();
    void legendEntries_data();
    void legendEntries();
    void captureStopsAtBadText();
    void mapKeepsCaptureAcrossShowings();
    void catalogueConfirmations_data();
    void catalogueConfirmations();
    void catalogueNavigationStopsAtEnds();
    void enablingNeedsBareSurface();
    void nextWithBadWidthChangesNothing();
    void nextWithTypedRodTypeStays();
    void readOnlyFieldCopies();
    void showingAgainKeepsFocus();
    void hugeDimensionsWriteNoN();
    void keysOpenWindows_data();
    void keysOpenWindows();
    void nextFocusesFirstInput();
    void rodTypeListShowsItemsWhole();
    void readOnlyFieldsShowWholeText();
};

void TestBuildingPage::keyFilterAndEnterChain() {
    Program p(",");
    MainWindow& f = p.form1;
    Type(f.Edit1, "1a2- ,.3");
    QCOMPARE(f.Edit1->text(), "12,.3"); // letters, minus and blank dropped
    QTest::keyClick(f.Edit1, Qt::Key_Backspace);
    QCOMPARE(f.Edit1->text(), "12,.");
    QTest::keyClick(f.Edit1, Qt::Key_V, Qt::ControlModifier); // a control character
    QCOMPARE(f.Edit1->text(), "12,.");
    PressEnter(f.Edit1);
    QCOMPARE(QApplication::focusWidget(), f.Edit2);
    QTest::keyClick(f.Edit2, Qt::Key_Enter); // the keypad's Enter too
    QCOMPARE(QApplication::focusWidget(), f.Edit3);
    PressEnter(f.Edit3);
    QCOMPARE(QApplication::focusWidget(), f.Edit3);
    QCOMPARE(f.Edit3->text(), QString());
    // Tab goes from the width to the height, unlike Enter.
    f.Edit1->setFocus();
    QTest::keyClick(f.Edit1, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), f.Edit3);
    QVERIFY(p.dialogs.shown.isEmpty());
}

void TestBuildingPage::opensNeedFilledFields() {
    Program p(",");
    MainWindow& f = p.form1;
    Type(f.Edit1, "12");
    Type(f.Edit2, "36");
    Click(f.Edit4);
    QCOMPARE(p.dialogs.texts(), QStringList{"Введите все значения"});
    QVERIFY(p.form2.isHidden());
    Click(f.Memo1->viewport());
    QCOMPARE(p.dialogs.texts().size(), 2);
    QCOMPARE(p.dialogs.texts().last(), "Введите все значения");
    QVERIFY(p.form5.isHidden());
    // A lone comma is not checked here; the map refuses it on the first move.
    Type(f.Edit3, ",");
    p.dialogs.clear();
    Click(f.Edit4);
    QVERIFY(p.dialogs.shown.isEmpty());
    QVERIFY(p.form2.isVisible());
    MoveOver(p.form2.Image1);
    QVERIFY(!p.dialogs.shown.isEmpty());
    QCOMPARE(p.dialogs.shown.front().text, "',' is not a valid floating point value.");
    QCOMPARE(p.dialogs.shown.front().kind, RecordingDialogs::Shown::Error);
}

void TestBuildingPage::legendEntries_data() {
    QTest::addColumn<QString>("separator");
    QTest::addColumn<int>("entry");
    QTest::addColumn<QString>("N");
    const QString values[] = {"0,00614", "0,00614", "0,01228", "0,02457",
                              "0,03378", "0,04299", "0,05221", "0,05221"};
    for (const QString sep : {",", "."})
        for (int entry = 0; entry < 8; ++entry)
            QTest::addRow("%s %d h", qPrintable(sep),
                          kThunderstormClasses[static_cast<size_t>(entry)].hours)
                << sep << entry << Sep(values[entry], sep);
}

void TestBuildingPage::legendEntries() {
    QFETCH(QString, separator);
    QFETCH(int, entry);
    QFETCH(QString, N);
    Program p(separator);
    TypeDimensions(p, "12", "36", "10");
    Click(p.form1.Edit4);
    QVERIFY(p.form2.isVisible());
    MoveOver(p.form2.Image1, {400, 200});
    QLabel* area = p.form2.Labels[static_cast<size_t>(entry)];
    QCOMPARE(area->cursor().shape(), Qt::PointingHandCursor);
    Click(area);
    QCOMPARE(p.form1.Edit4->text(), N);
    QVERIFY(p.form2.isHidden());
    QVERIFY(p.dialogs.shown.isEmpty());
}

void TestBuildingPage::captureStopsAtBadText() {
    Program p(",");
    MainWindow& f = p.form1;
    TypeDimensions(p, "12", "36", "10");
    Click(f.Edit4);
    MoveOver(p.form2.Image1);
    // The width now has the other separator and the length changes too: the
    // capture stops at the width, so neither new value is taken.
    f.Edit1->setText("12.5");
    f.Edit2->setText("100");
    QTest::mouseMove(p.form2.Image1, {300, 300});
    const QString refused = "'12.5' is not a valid floating point value.";
    QCOMPARE(p.dialogs.texts(), QStringList{refused});
    // Once only: further moves over the map with the same texts say nothing.
    for (const QPoint at : {QPoint(310, 300), QPoint(320, 310), QPoint(300, 300)})
        QTest::mouseMove(p.form2.Image1, at);
    QCOMPARE(p.dialogs.texts(), QStringList{refused});
    // A dimension's text changes: the width, still refused, is said again.
    f.Edit3->setText("11");
    QTest::mouseMove(p.form2.Image1, {310, 300});
    QTest::mouseMove(p.form2.Image1, {300, 300});
    QCOMPARE(p.dialogs.texts(), (QStringList{refused, refused}));
    Click(p.form2.Labels[3]);
    QCOMPARE(f.Edit4->text(), "0,02457");
    f.Edit3->setText("10");
    // A click that follows no move uses the values captured before.
    f.Edit1->setText("100");
    Click(f.Edit4);
    Click(p.form2.Labels[3]);
    QCOMPARE(f.Edit4->text(), "0,02457");
}

void TestBuildingPage::mapKeepsCaptureAcrossShowings() {
    Program p(".");
    MainWindow& f = p.form1;
    TypeDimensions(p, "100", "200", "50");
    Click(f.Edit4);
    // Nothing captured yet: N = 0.
    Click(p.form2.Labels[5]);
    QCOMPARE(f.Edit4->text(), "0.00000");
    Click(f.Edit4);
    MoveOver(p.form2.Image1);
    p.form2.close(); // the close box hides, N stays
    QVERIFY(p.form2.isHidden());
    QCOMPARE(f.Edit4->text(), "0.00000");
    Click(f.Edit4);
    Click(p.form2.Labels[5]);
    QCOMPARE(f.Edit4->text(), "1.26525");
}

void TestBuildingPage::catalogueConfirmations_data() {
    QTest::addColumn<QString>("separator");
    QTest::addColumn<QString>("S");
    QTest::addColumn<int>("legend");
    QTest::addColumn<int>("row"); // index in the catalogue
    QTest::addColumn<QString>("zone");
    QTest::addColumn<QString>("category");
    const QString A = QStringLiteral("       А"), B = QStringLiteral("       Б");
    for (const QString sep : {",", "."}) {
        // 12 x 36 x 10 at 40 h gives N = 0,02457; 1000 x 2000 x 100 at 140 h 34,70550.
        QTest::addRow("%s code 1", qPrintable(sep)) << sep << "12" << 3 << 0 << A << "I";
        QTest::addRow("%s code 2 small N", qPrintable(sep)) << sep << "12" << 3 << 1 << B << "II";
        QTest::addRow("%s code 2 large N", qPrintable(sep)) << sep << "1000" << 7 << 1 << A << "II";
        QTest::addRow("%s code 3", qPrintable(sep)) << sep << "1000" << 7 << 2 << B << "II";
        QTest::addRow("%s code 4 small N", qPrintable(sep)) << sep << "12" << 3 << 3 << B << "III";
        QTest::addRow("%s code 4 large N", qPrintable(sep))
            << sep << "1000" << 7 << 3 << A << "III";
        QTest::addRow("%s code 8", qPrintable(sep)) << sep << "1000" << 7 << 4 << B << "III";
        QTest::addRow("%s code 12", qPrintable(sep)) << sep << "1000" << 7 << 12 << B << "III";
        QTest::addRow("%s code 14", qPrintable(sep)) << sep << "12" << 3 << 16 << B << "III";
    }
}

void TestBuildingPage::catalogueConfirmations() {
    QFETCH(QString, separator);
    QFETCH(QString, S);
    QFETCH(int, legend);
    QFETCH(int, row);
    QFETCH(QString, zone);
    QFETCH(QString, category);
    Program p(separator);
    const QString L = S == "12" ? "36" : "2000", h = S == "12" ? "10" : "100";
    FillBuildingPage(p, S, L, h, legend, row, 3);
    QVERIFY2(p.dialogs.shown.isEmpty(), qPrintable(p.dialogs.texts().join('\n')));
    MainWindow& f = p.form1;
    QCOMPARE(f.Edit5->text(), zone);
    QCOMPARE(f.Edit7->text(), category);
    QCOMPARE(f.Memo1->toPlainText(), p.form5.DBMemo1->toPlainText());
    QCOMPARE(f.Edit6->text(), p.form5.DBMemo2->toPlainText());
    QVERIFY(!f.Memo1->toPlainText().isEmpty());
    QCOMPARE(p.form5.Label3->text(), zone == "       А" ? "1" : "0");
    QCOMPARE(p.form5.Label4->text(), zone == "       А" ? "0" : "1");
    QVERIFY(p.form5.isHidden());
    // Reopened, the window shows the row confirmed.
    const QString code = p.form5.DBText2->text();
    Click(f.Memo1->viewport());
    QVERIFY(p.form5.isVisible());
    QCOMPARE(p.form5.DBText2->text(), code);
}

void TestBuildingPage::catalogueNavigationStopsAtEnds() {
    Program p(",");
    TForm5& w = p.form5;
    w.showOver(&p.window1);
    // Right after start-up: the first row, no way back.
    QCOMPARE(w.DBText2->text(), "1");
    QVERIFY(!w.NavPrior->isEnabled());
    QCOMPARE(w.NavPrior->accessibleName(), "Предыдущая запись");
    QCOMPARE(w.NavNext->accessibleName(), "Следующая запись");
    QStringList codes{w.DBText2->text()};
    while (w.NavNext->isEnabled()) {
        Click(w.NavNext);
        codes << w.DBText2->text();
    }
    QCOMPARE(codes.join(' '), "1 2 3 4 8 5 6 7 8 9 10 11 12 12 13 14 14");
    QCOMPARE(w.DBMemo3->toPlainText(), "III");
    w.NavNext->click(); // a disabled step does nothing
    QCOMPARE(w.DBText2->text(), "14");
    // Confirming with N still empty: stopped at the conversion, nothing copied.
    Click(w.BitBtn1);
    QCOMPARE(p.dialogs.texts(), QStringList{"'' is not a valid floating point value."});
    QVERIFY(p.form1.Memo1->toPlainText().isEmpty());
    QCOMPARE(w.Label3->text(), "Label3");
}

void TestBuildingPage::enablingNeedsBareSurface() {
    Program p(",");
    MainWindow& f = p.form1;
    // A rod type alone: the strip below the frame enables only the rod height.
    PickRodType(f.ComboBox1, 3);
    MoveOver(f.TabSheet1, {400, 292});
    QVERIFY(f.Button5->isEnabled());
    QVERIFY(!f.Button1->isEnabled());

    FillBuildingPage(p, "12", "36", "10", 3, 3, 3);
    QCOMPARE(f.Edit5->text(), "       Б");
    // Over labels, fields and the list nothing counts. A control that tracks
    // the mouse and leaves a move unhandled has Qt hand it on to the frame:
    // the frame must still see that the pointer is not on its own surface.
    for (QWidget* w :
         std::initializer_list<QWidget*>{f.Label1, f.Label4, f.Label5, f.Memo1->viewport()})
        w->setMouseTracking(true);
    for (QWidget* w : std::initializer_list<QWidget*>{f.Label1, f.Label4, f.Label5, f.Edit1,
                                                      f.Edit5, f.Memo1->viewport(), f.ComboBox1})
        MoveOver(w);
    MoveOver(f.Button5);
    QVERIFY(!f.Button1->isEnabled());
    // The bare surface of the frame does.
    MoveOver(f.GroupBox1, {700, 20});
    QVERIFY(f.Button1->isEnabled());
    // Nothing disables it again.
    f.Edit5->clear();
    MoveOver(f.GroupBox1, {700, 30});
    QVERIFY(f.Button1->isEnabled());
    QVERIFY(p.dialogs.shown.isEmpty());
}

void TestBuildingPage::nextWithBadWidthChangesNothing() {
    Program p(",");
    MainWindow& f = p.form1;
    ToRodPage(p, false);
    QCOMPARE(f.PageControl1->activePage(), f.TabSheet2);
    QCOMPARE(f.RodTypeCode(), 4);
    Click(f.Button4);
    QCOMPARE(f.PageControl1->activePage(), f.TabSheet1);
    Type(f.Edit8, "20"); // still on the rod page's field, kept until "Далее>>"
    f.Edit1->setText("12.5");
    PickRodType(f.ComboBox1, 0);
    Click(f.Button1);
    QCOMPARE(p.dialogs.texts(), QStringList{"'12.5' is not a valid floating point value."});
    QCOMPARE(f.PageControl1->activePage(), f.TabSheet1);
    QCOMPARE(f.RodTypeCode(), 4); // not taken from the list
    QCOMPARE(f.Edit8->text(), "20");
    // An empty width is refused the same way.
    p.dialogs.clear();
    f.Edit1->clear();
    Click(f.Button1);
    QCOMPARE(p.dialogs.texts(), QStringList{"'' is not a valid floating point value."});
}

void TestBuildingPage::nextWithTypedRodTypeStays() {
    Program p(",");
    MainWindow& f = p.form1;
    FillBuildingPage(p, "12", "36", "10", 3, 5, 0);
    f.ComboBox1->setCurrentIndex(-1);
    f.ComboBox1->setEditText(QString());
    Type(f.ComboBox1->lineEdit(), "трос");
    MoveOver(f.GroupBox1, {700, 20});
    QVERIFY(f.Button1->isEnabled());
    f.Edit8->setText("5");
    Click(f.Button1);
    QVERIFY(p.dialogs.shown.isEmpty());
    QCOMPARE(f.RodTypeCode(), 0);
    QCOMPARE(f.PageControl1->activePage(), f.TabSheet1);
    QCOMPARE(f.Edit8->text(), QString()); // the rod page is emptied all the same
}

void TestBuildingPage::readOnlyFieldCopies() {
    Program p(",");
    MainWindow& f = p.form1;
    f.Edit4->setText("0,02457");
    f.Edit4->setFocus();
    f.Edit4->selectAll();
    QTest::keyClick(f.Edit4, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), "0,02457");
    // The input fields keep their filter: Ctrl+V types nothing there.
    QTest::keyClick(f.Edit1, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(f.Edit1->text(), QString());
}

void TestBuildingPage::showingAgainKeepsFocus() {
    Program p(",");
    MainWindow& f = p.form1;
    QCOMPARE(f.focusWidget(), f.Edit1); // the first showing
    ToRodPage(p, false);
    f.Edit8->setFocus();
    // Shown again (as after minimising): the rod page keeps the focus, and
    // digits typed next do not go into the hidden width field.
    p.window1.hide();
    p.window1.show();
    QVERIFY(QTest::qWaitForWindowActive(&p.window1));
    QCOMPARE(f.focusWidget(), f.Edit8);
    Type(QApplication::focusWidget(), "7");
    QCOMPARE(f.Edit1->text(), "12");
}

void TestBuildingPage::hugeDimensionsWriteNoN() {
    Program p(",");
    MainWindow& f = p.form1;
    const QString huge = "1" + QString(308, '0'); // 10^308 passes the key filter
    TypeDimensions(p, huge, huge, "10");
    Click(f.Edit4);
    MoveOver(p.form2.Image1);
    Click(p.form2.Labels[3]);
    QCOMPARE(p.dialogs.texts(), QStringList{"Размеры здания слишком велики: число ударов молнии N "
                                            "не вычисляется"});
    QCOMPARE(f.Edit4->text(), QString()); // nothing written that cannot be read back
}

// Enter or Space on the strike-count and building-description fields opens
// the map and the building-type window as a click does, refusals included.
void TestBuildingPage::keysOpenWindows_data() {
    QTest::addColumn<int>("key");
    QTest::newRow("Enter") << int(Qt::Key_Return);
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter);
    QTest::newRow("Space") << int(Qt::Key_Space);
}

void TestBuildingPage::keysOpenWindows() {
    QFETCH(int, key);
    Program p(",");
    MainWindow& f = p.form1;
    QTest::keyClick(f.Memo1, Qt::Key(key));
    QCOMPARE(p.dialogs.texts(), QStringList{"Введите все значения"});
    QVERIFY(p.form5.isHidden());
    TypeDimensions(p, "12", "36", "10");
    QTest::keyClick(f.Edit4, Qt::Key(key));
    QVERIFY(p.form2.isVisible());
    MoveOver(p.form2.Image1);
    Click(p.form2.Labels[3]);
    QCOMPARE(f.Edit4->text(), "0,02457");
    QTest::keyClick(f.Memo1, Qt::Key(key));
    QVERIFY(p.form5.isVisible());
    QCOMPARE(p.dialogs.texts().size(), 1);
    QVERIFY(f.Memo1->toPlainText().isEmpty()); // the key typed nothing
}

void TestBuildingPage::nextFocusesFirstInput() {
    Program p(",");
    MainWindow& f = p.form1;
    ToRodPage(p, false, 0);
    QCOMPARE(f.focusWidget(), f.Edit8);
    Click(f.Button4); // "<<Назад", and a second design
    PressNext(p);
    QCOMPARE(f.focusWidget(), f.Edit8);
}

// The drop-down is as wide as its longest item, and a picked type shows in
// the field from its start: with the cursor at its end the field has not
// scrolled, so the whole text is in view.
void TestBuildingPage::rodTypeListShowsItemsWhole() {
    Program p(",");
    MainWindow& f = p.form1;
    f.form.show();
    QAbstractItemView* list = f.ComboBox1->view();
    f.ComboBox1->showPopup();
    QVERIFY(list->isVisible());
    QVERIFY2(
        list->viewport()->width() >= list->sizeHintForColumn(0),
        qPrintable(
            QString("%1 < %2").arg(list->viewport()->width()).arg(list->sizeHintForColumn(0))));
    f.ComboBox1->hidePopup();
    QLineEdit* line = f.ComboBox1->lineEdit();
    for (int index = 0; index < f.ComboBox1->count(); ++index) {
        PickRodType(f.ComboBox1, index);
        const QString text = f.ComboBox1->itemText(index);
        QCOMPARE(line->text(), text);
        QCOMPARE(line->cursorPosition(), 0);
        line->setCursorPosition(int(text.size()));
        QVERIFY2(line->inputMethodQuery(Qt::ImCursorRectangle).toRect().center().x() >=
                     QFontMetrics(line->font()).horizontalAdvance(text),
                 qPrintable(text));
    }
}

void TestBuildingPage::readOnlyFieldsShowWholeText() {
    Program p(",");
    MainWindow& f = p.form1;
    FillBuildingPage(p, "12", "36", "10", 3, 3, 3);
    for (QLineEdit* field : {f.Edit4, f.Edit5, f.Edit6, f.Edit7}) {
        QVERIFY(!field->text().isEmpty());
        QCOMPARE(field->toolTip(), field->text());
    }
    // Kept current: another building type changes the texts and tooltips.
    const QString location = f.Edit6->text();
    Click(f.Memo1->viewport());
    Click(p.form5.NavPrior);
    Click(p.form5.BitBtn1);
    QVERIFY(f.Edit6->text() != location);
    QCOMPARE(f.Edit6->toolTip(), f.Edit6->text());
    QCOMPARE(f.Edit7->toolTip(), f.Edit7->text());
}

QTEST_MAIN(TestBuildingPage)
#include "tst_buildingpage.moc"
