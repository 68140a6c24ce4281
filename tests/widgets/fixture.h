// A whole program on the offscreen platform: the five windows with recording
// message boxes, the built catalogue and a chosen decimal separator, and the
// gestures of a user.
#pragma once

#include "fakes.h"

#include "app/unit3.h"
#include "app/windowset.h"
#include "report/unit7.h"
#include "ui/controls.h"
#include "windows/unit4.h"
#include "windows/unit5.h"
#include "windows/unit6.h"
#include "windows/unit8.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>
#include <memory>

// A window's control, found in its widget tree by its name.
template <class T> T* Find(QWidget& window, const char* name) {
    T* found = window.findChild<T*>(QLatin1String(name));
    if (!found)
        qFatal("%s has no %s", qPrintable(window.objectName()), name);
    return found;
}
#define VOSTREL_CONTROL(type, name) type* name = Find<type>(form, #name)

// The main window's controls.
struct MainWindow {
    vostrel::TForm1& form;
    VOSTREL_CONTROL(vostrel::PageControl, PageControl1);
    VOSTREL_CONTROL(QWidget, TabSheet1);
    VOSTREL_CONTROL(QWidget, TabSheet2);
    VOSTREL_CONTROL(QGroupBox, GroupBox1);
    VOSTREL_CONTROL(QLabel, Label1);
    VOSTREL_CONTROL(QLabel, Label2);
    VOSTREL_CONTROL(QLabel, Label3);
    VOSTREL_CONTROL(QLabel, Label4);
    VOSTREL_CONTROL(QLabel, Label5);
    VOSTREL_CONTROL(QLabel, Label6);
    VOSTREL_CONTROL(QLabel, Label9);
    VOSTREL_CONTROL(QLabel, Label11);
    VOSTREL_CONTROL(QLabel, Label12);
    VOSTREL_CONTROL(QLineEdit, Edit1);
    VOSTREL_CONTROL(QLineEdit, Edit2);
    VOSTREL_CONTROL(QLineEdit, Edit3);
    VOSTREL_CONTROL(QLineEdit, Edit4);
    VOSTREL_CONTROL(QPlainTextEdit, Memo1);
    VOSTREL_CONTROL(QLineEdit, Edit5);
    VOSTREL_CONTROL(QLineEdit, Edit6);
    VOSTREL_CONTROL(QLineEdit, Edit7);
    VOSTREL_CONTROL(QComboBox, ComboBox1);
    VOSTREL_CONTROL(QPushButton, Button1);
    VOSTREL_CONTROL(QPushButton, Button5);
    VOSTREL_CONTROL(QLabel, Label14);
    VOSTREL_CONTROL(QGroupBox, GroupBox2);
    VOSTREL_CONTROL(QGroupBox, GroupBox3);
    VOSTREL_CONTROL(QGroupBox, GroupBox4);
    VOSTREL_CONTROL(QLabel, Label7);
    VOSTREL_CONTROL(QLabel, Label8);
    VOSTREL_CONTROL(QLabel, Label10);
    VOSTREL_CONTROL(QLabel, Label13);
    VOSTREL_CONTROL(QLineEdit, Edit8);
    VOSTREL_CONTROL(QLineEdit, Edit9);
    VOSTREL_CONTROL(QLineEdit, Edit10);
    VOSTREL_CONTROL(QLineEdit, Edit11);
    VOSTREL_CONTROL(QLabel, Label15);
    VOSTREL_CONTROL(QLabel, Label16);
    VOSTREL_CONTROL(QLabel, Label17);
    VOSTREL_CONTROL(QLabel, Label18);
    VOSTREL_CONTROL(QLabel, Label19);
    VOSTREL_CONTROL(QLabel, Label20);
    VOSTREL_CONTROL(QLabel, Label21);
    VOSTREL_CONTROL(QLabel, Label22);
    VOSTREL_CONTROL(QLabel, Label23);
    VOSTREL_CONTROL(QLineEdit, Edit13);
    VOSTREL_CONTROL(QLineEdit, Edit14);
    VOSTREL_CONTROL(QLineEdit, Edit15);
    VOSTREL_CONTROL(QLineEdit, Edit16);
    VOSTREL_CONTROL(QLineEdit, Edit17);
    VOSTREL_CONTROL(QLineEdit, Edit18);
    VOSTREL_CONTROL(QPushButton, Button4);
    VOSTREL_CONTROL(QPushButton, Button3);
    VOSTREL_CONTROL(QPushButton, Button2);
    VOSTREL_CONTROL(QPushButton, Button6);

    std::int32_t RodTypeCode() const { return form.RodTypeCode(); }
    std::int32_t ZoneAFlag() const { return form.ZoneAFlag(); }
    std::int32_t ZoneBFlag() const { return form.ZoneBFlag(); }
    double DoubledRx() const { return form.DoubledRx(); }
    double DoubledR0() const { return form.DoubledR0(); }
    QWidget* focusWidget() const { return form.focusWidget(); }
    void activateWindow() { form.activateWindow(); }
};

// The building-type window's controls.
struct BuildingTypeWindow {
    vostrel::TForm5& form;
    VOSTREL_CONTROL(QLabel, Label6);
    VOSTREL_CONTROL(QLabel, Label1);
    VOSTREL_CONTROL(QLabel, Label2);
    VOSTREL_CONTROL(QPlainTextEdit, DBMemo1);
    VOSTREL_CONTROL(QPlainTextEdit, DBMemo2);
    VOSTREL_CONTROL(QPlainTextEdit, DBMemo3);
    VOSTREL_CONTROL(QToolButton, NavPrior);
    VOSTREL_CONTROL(QToolButton, NavNext);
    VOSTREL_CONTROL(QLabel, DBText2);
    VOSTREL_CONTROL(QPushButton, BitBtn1);
    VOSTREL_CONTROL(QLabel, Label3);
    VOSTREL_CONTROL(QLabel, Label4);
};
// The map window's controls.
struct MapWindow {
    vostrel::TForm2& form;
    VOSTREL_CONTROL(QLabel, Image1);
    std::array<QLabel*, 8> Labels{Find<QLabel>(form, "Label1"), Find<QLabel>(form, "Label2"),
                                  Find<QLabel>(form, "Label3"), Find<QLabel>(form, "Label4"),
                                  Find<QLabel>(form, "Label5"), Find<QLabel>(form, "Label6"),
                                  Find<QLabel>(form, "Label7"), Find<QLabel>(form, "Label8")};
};

// The rod-height window's controls.
struct RodHeightWindow {
    vostrel::TForm6& form;
    VOSTREL_CONTROL(QGroupBox, GroupBox1);
    VOSTREL_CONTROL(QLabel, Label1);
    VOSTREL_CONTROL(QLabel, Label2);
    VOSTREL_CONTROL(QLabel, Label3);
    VOSTREL_CONTROL(QLabel, Label4);
    VOSTREL_CONTROL(QLabel, Label5);
    VOSTREL_CONTROL(QLineEdit, Edit1);
    VOSTREL_CONTROL(QLineEdit, Edit2);
    VOSTREL_CONTROL(QLineEdit, Edit3);
    VOSTREL_CONTROL(QPushButton, Button1);
};
#undef VOSTREL_CONTROL

struct Program {
    explicit Program(const QString& separator,
                     const QString& catalogue = QStringLiteral(VOSTREL_TEST_CATALOGUE))
        : services{dialogs, vostrel::NumberText(separator), catalogue},
          report{word, QStringLiteral(VOSTREL_TEST_TEMPLATES)},
          windows(std::make_unique<vostrel::WindowSet>(services, report)),
          window1(windows->Form1()), form1{window1}, window2(windows->Form2()), form2{window2},
          window5(windows->Form5()), form5{window5}, window6(windows->Form6()), form6{window6},
          form7(windows->Form7()), form8(windows->Form8()) {
        windows->showMain();
        if (!QTest::qWaitForWindowActive(&window1))
            qWarning("The main window did not become active");
    }

    RecordingDialogs dialogs;
    RecordingWord word;
    vostrel::Services services;
    vostrel::ReportSetup report;
    std::unique_ptr<vostrel::WindowSet> windows;
    vostrel::TForm1& window1; // the main window itself
    MainWindow form1;         // and its controls
    vostrel::TForm2& window2; // the map window itself
    MapWindow form2;          // and its controls
    vostrel::TForm5& window5; // the building-type window itself
    BuildingTypeWindow form5; // and its controls
    vostrel::TForm6& window6; // the rod-height window itself
    RodHeightWindow form6;    // and its controls
    vostrel::TForm7& form7;
    vostrel::TForm8& form8;
};

// Writes "," or "." in place of the comma of a number text.
inline QString Sep(QString text, const QString& separator) {
    return text.replace(QLatin1Char(','), separator);
}

// Types into a field key by key, through its key filter.
inline void Type(QWidget* field, const QString& text) {
    field->setFocus();
    for (const QChar c : text) {
        if (c.unicode() < 128)
            QTest::keyClick(field, c.toLatin1());
        else // QTest maps only ASCII to keys
            QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

inline void PressEnter(QWidget* field) {
    QTest::keyClick(field, Qt::Key_Return);
}

// A pointer move over `widget` at `pos` (its centre by default), delivered as
// the window system delivers it: to the control under the pointer first.
inline void MoveOver(QWidget* widget, QPoint pos = QPoint(-1, -1)) {
    if (pos == QPoint(-1, -1))
        pos = widget->rect().center();
    QTest::mouseMove(widget, pos);
    // A second position, so that a move is seen even where the pointer was.
    QTest::mouseMove(widget, pos + QPoint(1, 0));
}

inline void Click(QWidget* widget, QPoint pos = QPoint()) {
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier,
                      pos.isNull() ? widget->rect().center() : pos);
}

// Picks an item of the rod type list as a user does from its drop-down.
inline void PickRodType(QComboBox* box, int index) {
    box->setCurrentIndex(index);
    emit box->activated(index);
}

inline void TypeDimensions(Program& p, const QString& S, const QString& L, const QString& h) {
    Type(p.form1.Edit1, S);
    Type(p.form1.Edit2, L);
    Type(p.form1.Edit3, h);
}

// Enables "Далее>>" by a move over the bare frame and presses it.
inline void PressNext(Program& p) {
    MoveOver(p.form1.GroupBox1, {700, 20});
    Click(p.form1.Button1);
}

// Inputs of each rod type (by the index of its list item) that give a zone
// with every region: the worked examples.
inline const QStringList kRodInputs[] = {{"30", "10"},
                                         {"30", "40", "10"},
                                         {"30", "20", "35", "8"},
                                         {"20", "60", "10"},
                                         {"22", "60", "25", "6"}};

// The rod page's input fields in the order of its rows, and its results.
inline QList<QLineEdit*> InputFields(const MainWindow& f) {
    return {f.Edit8, f.Edit9, f.Edit10, f.Edit11};
}
inline QList<QLineEdit*> ResultFields(const MainWindow& f) {
    return {f.Edit13, f.Edit14, f.Edit15, f.Edit16, f.Edit17, f.Edit18};
}
// The results as shown, "-" for a hidden field.
inline QStringList ResultTexts(const MainWindow& f) {
    QStringList out;
    for (const QLineEdit* field : ResultFields(f))
        out << (field->isHidden() ? QStringLiteral("-") : field->text());
    return out;
}

// Types the inputs (as many as given, in the order of the rows) over what the
// fields held and presses "Расчёт".
inline void Calculate(Program& p, const QStringList& inputs) {
    const QList<QLineEdit*> fields = InputFields(p.form1);
    for (qsizetype i = 0; i < inputs.size(); ++i) {
        fields[i]->clear();
        Type(fields[i], inputs[i]);
    }
    MoveOver(p.form1.GroupBox3, {200, 200});
    Click(p.form1.Button3);
}

// Builds the whole building page through the windows: dimensions, a legend
// entry of the map, a catalogue row (index from the first), a rod type.
inline void FillBuildingPage(Program& p, const QString& S, const QString& L, const QString& h,
                             int legendEntry, int catalogueRow, int rodTypeIndex) {
    TypeDimensions(p, S, L, h);
    Click(p.form1.Edit4);
    MoveOver(p.form2.Image1);
    Click(p.form2.Labels[static_cast<size_t>(legendEntry)]);
    Click(p.form1.Memo1->viewport());
    while (p.form5.NavPrior->isEnabled())
        Click(p.form5.NavPrior);
    for (int i = 0; i < catalogueRow; ++i)
        Click(p.form5.NavNext);
    Click(p.form5.BitBtn1);
    PickRodType(p.form1.ComboBox1, rodTypeIndex);
}

// Building page for 12 x 36 x 10 m at 40 h (N = 0,02457, zone B with code 4)
// or 1000 x 2000 x 100 m at 140 h (N = 34,70550, zone A with code 4), then
// "Далее>>" with the rod type of the given index (the single catenary).
inline void ToRodPage(Program& p, bool zoneA, int rodTypeIndex = 3) {
    if (zoneA)
        FillBuildingPage(p, "1000", "2000", "100", 7, 3, rodTypeIndex);
    else
        FillBuildingPage(p, "12", "36", "10", 3, 3, rodTypeIndex);
    PressNext(p);
}
