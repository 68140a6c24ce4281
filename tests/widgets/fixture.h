// A whole program on the offscreen platform: the five windows with recording
// message boxes, the built catalogue and a chosen decimal separator, and the
// gestures of a user.
#pragma once

#include "fakes.h"

#include "app/unit3.h"
#include "app/windowset.h"
#include "report/unit7.h"
#include "windows/unit4.h"
#include "windows/unit5.h"
#include "windows/unit6.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>
#include <memory>

struct Program {
    explicit Program(const QString& separator,
                     const QString& catalogue = QStringLiteral(VOSTREL_TEST_CATALOGUE))
        : services{dialogs, word, vostrel::NumberText(separator), catalogue,
                   QStringLiteral(VOSTREL_TEST_TEMPLATE)},
          windows(std::make_unique<vostrel::WindowSet>(services)), form1(windows->Form1()),
          form2(windows->Form2()), form5(windows->Form5()), form6(windows->Form6()),
          form7(windows->Form7()) {
        windows->showMain();
        if (!QTest::qWaitForWindowActive(&form1))
            qWarning("The main window did not become active");
    }

    RecordingDialogs dialogs;
    RecordingWord word;
    vostrel::Services services;
    std::unique_ptr<vostrel::WindowSet> windows;
    vostrel::TForm1& form1;
    vostrel::TForm2& form2;
    vostrel::TForm5& form5;
    vostrel::TForm6& form6;
    vostrel::TForm7& form7;
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

// Types the catenary's data on the rod page and presses "Расчёт".
inline void Calculate(Program& p, const QString& hop, const QString& a, const QString& hx) {
    Type(p.form1.Edit8, hop);
    Type(p.form1.Edit9, a);
    Type(p.form1.Edit10, hx);
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
