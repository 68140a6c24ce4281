// The lightning-rod page of the main window: the catenary's data, the zone
// calculation and the way back.
#include "app/controls.h"
#include "app/unit3.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace vostrel {

namespace {
const QString kHxAboveTop =
    QStringLiteral("Высота зоны защиты hx не может быть больше вершины защищаемой зоны");

// Captions may take the room up to the fields at x = 312.
QLabel* RodCaption(QWidget* parent, const char* name, int top, int width = 282) {
    return MakeLabel(parent, name, {7, top, width, 16}, QString(), 10, 302);
}

// Result fields: read-only, no border of their own, a soft bevel.
QLineEdit* ResultEdit(QWidget* parent, const char* name, int left, int top) {
    QLineEdit* edit = MakeEdit(parent, name, {left, top, 65, 21});
    edit->setReadOnly(true);
    edit->setFrame(false);
    edit->setStyleSheet(
        QStringLiteral("QLineEdit { border: 1px solid; border-color: "
                       "palette(mid) palette(light) palette(light) palette(mid); }"));
    return edit;
}
} // namespace

void TForm1::createRodPage() {
    GroupBox2 = MakeFrame(TabSheet2, "GroupBox2", {0, 0, 775, 273});
    GroupBox2->installEventFilter(this);
    GroupBox3 = MakeFrame(GroupBox2, "GroupBox3", {0, 0, 387, 273});
    GroupBox3->installEventFilter(this);
    Label7 = RodCaption(GroupBox3, "Label7", 24);
    Label8 = RodCaption(GroupBox3, "Label8", 48);
    Label10 = RodCaption(GroupBox3, "Label10", 72);
    Label13 = RodCaption(GroupBox3, "Label13", 96);
    Edit8 = MakeEdit(GroupBox3, "Edit8", {312, 24, 49, 21});
    Edit9 = MakeEdit(GroupBox3, "Edit9", {312, 48, 49, 21});
    Edit10 = MakeEdit(GroupBox3, "Edit10", {312, 72, 49, 21});
    Edit11 = MakeEdit(GroupBox3, "Edit11", {312, 96, 49, 21});
    for (QLineEdit* field : {Edit8, Edit9, Edit10, Edit11})
        field->installEventFilter(this);
    Edit10->hide();
    Edit11->hide();

    GroupBox4 = MakeFrame(GroupBox2, "GroupBox4", {384, 0, 387, 273});
    GroupBox4->setMouseTracking(false);
    Label15 = RodCaption(GroupBox4, "Label15", 24);
    Label16 = RodCaption(GroupBox4, "Label16", 48, 298);
    Label17 = RodCaption(GroupBox4, "Label17", 72);
    Label18 = RodCaption(GroupBox4, "Label18", 96);
    Label19 = RodCaption(GroupBox4, "Label19", 112);
    Label20 = RodCaption(GroupBox4, "Label20", 136);
    Label21 = RodCaption(GroupBox4, "Label21", 152);
    Label22 = RodCaption(GroupBox4, "Label22", 176);
    Label23 = RodCaption(GroupBox4, "Label23", 192);
    Edit13 = ResultEdit(GroupBox4, "Edit13", 312, 22);
    Edit14 = ResultEdit(GroupBox4, "Edit14", 312, 46);
    Edit15 = ResultEdit(GroupBox4, "Edit15", 312, 70);
    Edit16 = ResultEdit(GroupBox4, "Edit16", 312, 104);
    Edit17 = ResultEdit(GroupBox4, "Edit17", 312, 140);
    Edit18 = ResultEdit(GroupBox4, "Edit18", 312, 180);
    for (QLineEdit* field : {Edit16, Edit17, Edit18})
        field->hide();

    LabelNoLayout = MakeLabel(GroupBox3, "LabelNoLayout", {7, 24, 373, 16},
                              QStringLiteral("Зона защиты этого типа молниеотвода здесь не "
                                             "рассчитывается"),
                              8);
    LabelNoLayout->hide();

    Button4 = MakeButton(TabSheet2, "Button4", {424, 280, 105, 25}, QStringLiteral("<<Назад"), 10);
    Button3 = MakeButton(TabSheet2, "Button3", {528, 280, 105, 25}, QStringLiteral("Расчёт"), 10);
    Button2 = MakeButton(TabSheet2, "Button2", {632, 280, 105, 25}, QStringLiteral("Отчёт"), 10);
    Button3->setEnabled(false);
    Button2->setEnabled(false);
    connect(Button4, &QPushButton::clicked, this, [this] { run([this] { Button4Click(); }); });
    connect(Button3, &QPushButton::clicked, this, [this] { run([this] { Button3Click(); }); });
    connect(Button2, &QPushButton::clicked, this, [this] { run([this] { Button2Click(); }); });
}

void TForm1::setRodRow(QLabel* label, const QString& caption, QLineEdit* field, bool visible) {
    SetCaption(label, caption);
    field->setVisible(visible);
    field->setAccessibleName(caption.trimmed());
}

// Captions begin with one blank; "hоп" is a Latin h with Cyrillic "оп".
void TForm1::setCatenaryLayout() {
    LabelNoLayout->hide();
    setRodRow(Label7, QStringLiteral(" Высота опоры hоп, м"), Edit8, true);
    setRodRow(Label8, QStringLiteral(" Длина пролёта троса a, м"), Edit9, true);
    setRodRow(Label10, QStringLiteral(" Высота зоны защиты hx, м"), Edit10, true);
    setRodRow(Label13, QString(), Edit11, false);
    setRodRow(Label15, QStringLiteral(" Вершина защищаемой зоны h0, м"), Edit13, true);
    setRodRow(Label16, QStringLiteral(" Радиус защиты на уровне земли r0, м"), Edit14, true);
    setRodRow(Label17, QStringLiteral(" Радиус защиты rx на высоте hx, м"), Edit15, true);
    setRodRow(Label18, QString(), Edit16, false);
    setRodRow(Label20, QString(), Edit17, false);
    setRodRow(Label22, QString(), Edit18, false);
    for (QLabel* label : {Label19, Label21, Label23})
        SetCaption(label, QString());
}

// Rod types whose zone this page does not compute: no input row, so "Расчёт"
// is never enabled, and a note saying so.
void TForm1::setLayoutWithoutZone() {
    for (const auto& [label, field] : {std::pair{Label7, Edit8},
                                       {Label8, Edit9},
                                       {Label10, Edit10},
                                       {Label13, Edit11},
                                       {Label15, Edit13},
                                       {Label16, Edit14},
                                       {Label17, Edit15},
                                       {Label18, Edit16},
                                       {Label20, Edit17},
                                       {Label22, Edit18}})
        setRodRow(label, QString(), field, false);
    for (QLabel* label : {Label19, Label21, Label23})
        SetCaption(label, QString());
    LabelNoLayout->show();
}

void TForm1::GroupBox3MouseMove() {
    const bool v8 = !Edit8->isHidden(), v9 = !Edit9->isHidden(), v10 = !Edit10->isHidden(),
               v11 = !Edit11->isHidden();
    const auto filled = [](std::initializer_list<QLineEdit*> fields) {
        return std::all_of(fields.begin(), fields.end(),
                           [](QLineEdit* f) { return !f->text().isEmpty(); });
    };
    if (v8 && v9 && !v10 && !v11 && filled({Edit8, Edit9}))
        Button3->setEnabled(true);
    if (v8 && v9 && v10 && !v11 && filled({Edit8, Edit9, Edit10}))
        Button3->setEnabled(true);
    if (v8 && v9 && v10 && v11 && filled({Edit8, Edit9, Edit10, Edit11}))
        Button3->setEnabled(true);
}

void TForm1::Button3Click() {
    Button2->setEnabled(true);
    if (rodTypeCode_ != kSingleCatenary)
        return;
    hop_ = numbers().toFloat(Edit8->text());
    a_ = numbers().toFloat(Edit9->text()); // the span enters no formula
    hx_ = numbers().toFloat(Edit10->text());
    zone_ = CatenaryZone(hop_, a_, hx_, zoneA_, zoneB_, zone_);
    if (hx_ >= zone_.h0)
        message(kHxAboveTop);
    Edit13->setText(QStringLiteral("  ") + numbers().fixed(zone_.h0, 1));
    Edit14->setText(QStringLiteral("  ") + numbers().fixed(zone_.r0, 1));
    Edit15->setText(QStringLiteral("  ") + numbers().fixed(zone_.rx, 1));
    rx2_ = zone_.rx * 2.0f;
    r02_ = zone_.r0 * 2.0f;
}

void TForm1::Button4Click() {
    PageControl1->setActivePage(TabSheet1);
    Button3->setEnabled(false);
}

} // namespace vostrel
