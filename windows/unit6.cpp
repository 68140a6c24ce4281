#include "unit6.h"

#include "calc/rodheight.h"
#include "ui/controls.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>

namespace vostrel {

TForm6::TForm6(Services& services, const MainFields& form1)
    : Form(services, QStringLiteral("Расчёт высоты молниеотвода"), QSize(500, 136)), Form1(form1) {
    setObjectName(QStringLiteral("Form6"));
    Button1 = MakeButton(this, "Button1", {200, 104, 105, 25}, QStringLiteral("Расчёт"), 10);
    Button1->setEnabled(false);
    GroupBox1 = MakeFrame(this, "GroupBox1", {8, 8, 481, 73});
    GroupBox1->installEventFilter(this);
    // Input captions keep clear of the fields at x = 288.
    Label1 = MakeLabel(GroupBox1, "Label1", {8, 8, 281, 16}, QString(), 10, 278);
    Label2 = MakeLabel(GroupBox1, "Label2", {8, 32, 281, 16}, QString(), 10, 278);
    Label5 = MakeLabel(GroupBox1, "Label5", {8, 48, 281, 16}, QString(), 10, 278);
    Edit1 = MakeEdit(GroupBox1, "Edit1", {288, 8, 57, 21});
    Edit2 = MakeEdit(GroupBox1, "Edit2", {288, 32, 57, 21});
    Edit1->installEventFilter(this);
    Edit2->installEventFilter(this);
    Label4 = MakeLabel(this, "Label4", {8, 84, 481, 16}, QString(), 10, 481);
    Label4->setAlignment(Qt::AlignCenter); // named by its text, the result sentence
    Label3 = MakeLabel(this, "Label3", {267, 112, 0, 0}, QString(), 8);
    QWidget::setTabOrder(Button1, Edit1);
    QWidget::setTabOrder(Edit1, Edit2);
    onClick(Button1, &TForm6::Button1Click);
}

void TForm6::setInputCaptions(const QString& first, const QString& second) {
    SetCaption(Label1, first);
    SetCaption(Label2, second);
    Edit1->setAccessibleName(first);
    Edit2->setAccessibleName(second);
}

bool TForm6::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && (watched == Edit1 || watched == Edit2)) {
        // Digits, "," and "." only; Enter is dropped too.
        return ClassifyNumberKey(*static_cast<QKeyEvent*>(event)) != TypedKey::Pass;
    }
    if (event->type() == QEvent::MouseMove && watched == GroupBox1 &&
        IsBareSurface(GroupBox1, static_cast<QMouseEvent*>(event)->position().toPoint()))
        handle(&TForm6::GroupBox1MouseMove);
    return Form::eventFilter(watched, event);
}

bool TForm6::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate)
        active_ = true;
    return Form::event(event);
}

void TForm6::otherWindowActivated() {
    if (!active_)
        return;
    active_ = false;
    handle(&TForm6::FormDeactivate);
}

void TForm6::GroupBox1MouseMove() {
    if (!Edit1->text().isEmpty() && !Edit2->text().isEmpty())
        Button1->setEnabled(true);
}

void TForm6::Button1Click() {
    const std::int32_t code = numbers().toInt(Form1.Label14->text());
    if (!HasRodHeightFormula(code))
        return;
    const double p = numbers().toFloat(Edit1->text());
    const double q = numbers().toFloat(Edit2->text());
    const Outcome<double> H = RequiredRodHeight(code, p, q);
    if (!H) {
        message(QString::fromStdString(H.reason()));
        return;
    }
    SetCaption(Label4,
               QString::fromStdString(RodHeightText(code, *H, numbers().decimalSeparatorUtf8())));
}

void TForm6::FormDeactivate() {
    for (QLabel* label : {Label1, Label2, Label3, Label4, Label5})
        SetCaption(label, QStringLiteral(" "));
    Edit1->clear();
    Edit2->clear();
    Button1->setEnabled(false);
}

} // namespace vostrel
