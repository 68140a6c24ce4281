// Rod-height window: the rod height required for zone B from two typed values.
// It blanks itself whenever another window of the program becomes active.
#pragma once

#include "ui/form.h"
#include "ui/mainfields.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vostrel {

class TForm6 final : public Form {
    Q_OBJECT
public:
    TForm6(Services& services, const MainFields& form1);

    // Writes the captions of the two inputs (and names the fields after them).
    void setInputCaptions(const QString& first, const QString& second);
    // Another window of the program has become active.
    void otherWindowActivated();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;

private:
    void GroupBox1MouseMove();
    void Button1Click();
    void FormDeactivate();

    QGroupBox* GroupBox1; // frame of the two inputs
    QLabel* Label1;       // caption of Edit1
    QLabel* Label2;       // caption of Edit2
    QLabel* Label5;       // carries no text
    QLineEdit* Edit1;     // first input p
    QLineEdit* Edit2;     // second input q
    QLabel* Label4;       // result sentence
    QPushButton* Button1; // "Расчёт"
    QLabel* Label3;       // carries no text

    const MainFields& Form1;
    bool active_ = false; // the application's active window is this one
};

} // namespace vostrel
