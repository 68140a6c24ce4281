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

namespace {
// Two rods of different heights: each is chosen with the single rod's case.
constexpr std::int32_t kUnequalRods = 3, kSingleRod = 1;
} // namespace

TForm6::TForm6(Services& services, const MainFields& form1)
    : Form(services, QStringLiteral("Расчёт высоты молниеотвода"), QSize(500, 160)), Form1(form1) {
    setObjectName(QStringLiteral("Form6"));
    Button1 = MakeButton(this, "Button1", {200, 130, 105, 25}, QStringLiteral("Расчёт"), 10);
    Button1->setEnabled(false);
    GroupBox1 = MakeFrame(this, "GroupBox1", {8, 8, 481, 81});
    GroupBox1->installEventFilter(this);
    // Input captions keep clear of the fields at x = 288.
    Label1 = MakeLabel(GroupBox1, "Label1", {8, 8, 281, 16}, QString(), 10, 278);
    Label2 = MakeLabel(GroupBox1, "Label2", {8, 32, 281, 16}, QString(), 10, 278);
    Label5 = MakeLabel(GroupBox1, "Label5", {8, 56, 281, 16}, QString(), 10, 278);
    Edit1 = MakeEdit(GroupBox1, "Edit1", {288, 8, 57, 21});
    Edit2 = MakeEdit(GroupBox1, "Edit2", {288, 32, 57, 21});
    Edit3 = MakeEdit(GroupBox1, "Edit3", {288, 56, 57, 21});
    Edit3->hide();
    for (QLineEdit* field : {Edit1, Edit2, Edit3})
        field->installEventFilter(this);
    // Two lines: a catenary's result says how high its cable hangs.
    Label4 = MakeLabel(this, "Label4", {8, 92, 481, 34}, QString(), 10, 481);
    Label4->setAlignment(Qt::AlignCenter); // named by its text, the result sentence
    Label3 = MakeLabel(this, "Label3", {267, 138, 0, 0}, QString(), 8);
    QWidget::setTabOrder(Button1, Edit1);
    QWidget::setTabOrder(Edit1, Edit2);
    QWidget::setTabOrder(Edit2, Edit3);
    onClick(Button1, &TForm6::Button1Click);
}

void TForm6::setRodType(std::int32_t code) {
    const auto captions = RodHeightInputCaptions(code);
    if (!captions)
        return;
    const QString first = QString::fromStdString(captions->first);
    const QString second = QString::fromStdString(captions->second);
    const QString span = QString::fromStdString(captions->span);
    SetCaptions({{Label1, first}, {Label2, second}, {Label5, span}});
    Edit1->setAccessibleName(first);
    Edit2->setAccessibleName(second);
    Edit3->setAccessibleName(span);
    Edit3->setVisible(!span.isEmpty());
    showResult(code == kUnequalRods
                   ? QStringLiteral("Молниеотводы разной высоты: высота каждого выбирается\n"
                                    "как для одиночного стержневого молниеотвода")
                   : QStringLiteral(" "));
}

bool TForm6::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress &&
        (watched == Edit1 || watched == Edit2 || watched == Edit3)) {
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
    for (const QLineEdit* field : {Edit1, Edit2, Edit3})
        if (!field->isHidden() && field->text().isEmpty())
            return;
    Button1->setEnabled(true);
}

void TForm6::showResult(const QString& text) {
    SetCaption(Label4, text);
}

// The design's zone is the one the building type gave: А when its letter
// (written with the zone A flag) is А, else Б.
void TForm6::Button1Click() {
    const std::int32_t code = numbers().toInt(Form1.Label14->text());
    const std::int32_t formula = code == kUnequalRods ? kSingleRod : code;
    if (!HasRodHeightFormula(formula))
        return;
    const ZoneKind zone =
        Form1.Edit5->text().trimmed() == QStringLiteral("А") ? ZoneKind::A : ZoneKind::B;
    const double p = numbers().toFloat(Edit1->text());
    const double q = numbers().toFloat(Edit2->text());
    const double h = RequiredRodHeight(formula, zone, p, q).value();
    std::optional<SupportHeight> support;
    if (!Edit3->isHidden()) {
        support = CatenarySupportHeight(h, numbers().toFloat(Edit3->text()));
        if (!support) {
            message(QStringLiteral("Длина пролёта троса a должна быть меньше 150 м"));
            return;
        }
    }
    // The instruction's formulas hold up to 150 m; no height at all reaches
    // a zone A radius beyond the top of its curve.
    if (!((support ? support->hop : h) <= kMaxRequiredHeight)) {
        message(QStringLiteral("Для этих значений нужна высота больше 150 м: формулы инструкции "
                               "действуют только до 150 м"));
        return;
    }
    showResult(QString::fromStdString(
        RodHeightText(code, zone, h, support, numbers().decimalSeparatorUtf8())));
}

void TForm6::FormDeactivate() {
    for (QLabel* label : {Label1, Label2, Label3, Label4, Label5})
        SetCaption(label, QStringLiteral(" "));
    for (QLineEdit* field : {Edit1, Edit2, Edit3})
        field->clear();
    Button1->setEnabled(false);
}

} // namespace vostrel
