// Rod-height window: the rod height required for the design's zone from two
// typed values (and a catenary's span). It blanks itself whenever another
// window of the program becomes active.
#pragma once

#include "ui/form.h"
#include "ui/mainfields.h"

#include <cstdint>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vostrel {

class TForm6 final : public Form {
    Q_OBJECT
public:
    TForm6(Services& services, const MainFields& form1);

    // Lays the window out for rod type `code`: the captions of its inputs
    // (naming the fields after them), the span row for catenaries, and for
    // rods of different heights a line saying each is chosen as a single rod.
    void setRodType(std::int32_t code);
    // Another window of the program has become active.
    void otherWindowActivated();

    QGroupBox* GroupBox1; // frame of the inputs
    QLabel* Label1;       // caption of Edit1
    QLabel* Label2;       // caption of Edit2
    QLabel* Label5;       // caption of Edit3
    QLineEdit* Edit1;     // first input p
    QLineEdit* Edit2;     // second input q
    QLineEdit* Edit3;     // a catenary's span a, hidden for rods
    QLabel* Label4;       // result sentence, or what the window computes
    QPushButton* Button1; // "Расчёт"
    QLabel* Label3;       // carries no text

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;

private:
    void GroupBox1MouseMove();
    void Button1Click();
    void FormDeactivate();
    // Shows a result line of one or two lines in one font size.
    void showResult(const QString& text);

    const MainFields& Form1;
    bool active_ = false; // the application's active window is this one
};

} // namespace vostrel
