// The lightning-rod page of the main window: the rod's data in the layout of
// its type, the zone calculation, the report and the way back.
#include "app/reportvalues.h"
#include "app/rodlayouts.h"
#include "app/unit3.h"
#include "ui/controls.h"
#include "windows/unit8.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <tuple>

namespace vostrel {

namespace {
// The message a calculation calls for, by rod type and zone.
QString WarningText(std::int32_t code, ZoneWarning warning, ZoneKind zone) {
    const bool cables = code == kDoubleCatenary;
    switch (warning) {
    case ZoneWarning::None:
        break;
    case ZoneWarning::HxNotBelowTop:
        return QStringLiteral("Высота зоны защиты hx не может быть больше вершины защищаемой зоны");
    case ZoneWarning::HxNotBelowFirstRodTop:
    case ZoneWarning::HxNotBelowSecondRodTop:
        return QStringLiteral("Высота зоны защиты hx не меньше вершины зоны защиты %1 "
                              "молниеотвода: на этой высоте он не защищает")
            .arg(warning == ZoneWarning::HxNotBelowFirstRodTop ? QStringLiteral("первого")
                                                               : QStringLiteral("второго"));
    case ZoneWarning::HxNotBelowMidHeight:
        return QStringLiteral("Высота зоны защиты hx не меньше высоты зоны посередине hc: "
                              "посередине между %1 на этой высоте защиты нет")
            .arg(cables ? QStringLiteral("тросами") : QStringLiteral("молниеотводами"));
    case ZoneWarning::Single: {
        const QString limit = QStringLiteral("%1h%2")
                                  .arg(zone == ZoneKind::A ? 4 : 6)
                                  .arg(code == kUnequalRods ? QStringLiteral("min") : QString());
        return cables ? QStringLiteral("Тросы натянуты дальше %1 друг от друга и "
                                       "рассматриваются как одиночные")
                            .arg(limit)
                      : QStringLiteral("Молниеотводы стоят дальше %1 друг от друга и "
                                       "рассматриваются как одиночные")
                            .arg(limit);
    }
    }
    return {};
}

// Why the inputs are refused; empty when they are not.
QString RefusalText(InputRefusal refusal) {
    switch (refusal) {
    case InputRefusal::None:
        break;
    case InputRefusal::RodHeightNotPositive:
        return QStringLiteral("Высота молниеотвода должна быть больше 0 м");
    case InputRefusal::RodHeightAboveLimit:
        return QStringLiteral("Высота молниеотвода должна быть не больше 150 м");
    case InputRefusal::SupportHeightNotPositive:
        return QStringLiteral("Высота опор троса должна быть больше 0 м");
    case InputRefusal::SupportHeightAboveLimit:
        return QStringLiteral("Высота опор троса должна быть не больше 150 м");
    case InputRefusal::SpanTooLong:
        return QStringLiteral("Длина пролёта троса a должна быть меньше 150 м");
    }
    return {};
}

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
    Label24 = MakeLabel(GroupBox4, "Label24", {16, 214, 360, 52}, QString(), 8);
    Label24->setWordWrap(true);
    Label24->setAccessibleName(QStringLiteral("Вывод"));

    Button4 = MakeButton(TabSheet2, "Button4", {424, 280, 105, 25}, QStringLiteral("<<Назад"), 10);
    Button3 = MakeButton(TabSheet2, "Button3", {528, 280, 105, 25}, QStringLiteral("Расчёт"), 10);
    Button2 = MakeButton(TabSheet2, "Button2", {632, 280, 105, 25}, QStringLiteral("Отчёт"), 10);
    Button6 = MakeButton(TabSheet2, "Button6", {320, 280, 105, 25}, QStringLiteral("Чертёж"), 10);
    Button3->setEnabled(false);
    Button2->setEnabled(false);
    Button6->setEnabled(false);
    onClick(Button4, &TForm1::Button4Click);
    onClick(Button3, &TForm1::Button3Click);
    onClick(Button2, &TForm1::Button2Click);
    onClick(Button6, &TForm1::Button6Click);
}

void TForm1::setRodLayout(const RodLayout& layout) {
    const auto caption = [](const char* text) {
        return text ? QString::fromUtf8(text) : QString();
    };
    // A field is named for screen readers by its caption, without the blank.
    const auto setRow = [&](QLabel* label, QLabel* second, const auto& lines, QLineEdit* field) {
        SetCaption(label, caption(lines[0]));
        if (second)
            SetCaption(second, caption(lines[1]));
        field->setVisible(lines[0] != nullptr);
        field->setAccessibleName(
            (caption(lines[0]) +
             (lines[1] ? QStringLiteral(" ") + caption(lines[1]).trimmed() : QString()))
                .trimmed());
    };
    const std::pair<QLabel*, QLineEdit*> inputs[] = {
        {Label7, Edit8}, {Label8, Edit9}, {Label10, Edit10}, {Label13, Edit11}};
    for (size_t i = 0; i < std::size(inputs); ++i)
        setRow(inputs[i].first, nullptr, std::array{layout.inputs[i], (const char*)nullptr},
               inputs[i].second);
    const std::tuple<QLabel*, QLabel*, QLineEdit*> results[] = {
        {Label15, nullptr, Edit13}, {Label16, nullptr, Edit14}, {Label17, nullptr, Edit15},
        {Label18, Label19, Edit16}, {Label20, Label21, Edit17}, {Label22, Label23, Edit18}};
    for (size_t i = 0; i < std::size(results); ++i)
        setRow(std::get<0>(results[i]), std::get<1>(results[i]), layout.results[i].caption,
               std::get<2>(results[i]));
}

void TForm1::GroupBox3MouseMove() {
    const bool v8 = !Edit8->isHidden(), v9 = !Edit9->isHidden(), v10 = !Edit10->isHidden(),
               v11 = !Edit11->isHidden();
    const auto filled = [](std::initializer_list<QLineEdit*> fields) {
        return std::all_of(fields.begin(), fields.end(),
                           [](QLineEdit* f) { return !f->text().isEmpty(); });
    };
    if (v8 && !v9 && !v10 && !v11 && filled({Edit8})) // a system: hx only
        Button3->setEnabled(true);
    if (v8 && v9 && !v10 && !v11 && filled({Edit8, Edit9}))
        Button3->setEnabled(true);
    if (v8 && v9 && v10 && !v11 && filled({Edit8, Edit9, Edit10}))
        Button3->setEnabled(true);
    if (v8 && v9 && v10 && v11 && filled({Edit8, Edit9, Edit10, Edit11}))
        Button3->setEnabled(true);
}

void TForm1::Button3Click() {
    const std::int32_t code = design_.rodType;
    if (code == kRodSystem)
        return calculateSystem(); // "Отчёт" follows its completed calculation
    // "Отчёт" is enabled whatever follows.
    Button2->setEnabled(true);
    if (!IsRodType(code))
        return;
    const RodLayout& layout = RodLayoutFor(code);
    // A refused calculation leaves none of its results on the page.
    const auto refuse = [this](const QString& text) {
        for (QLineEdit* result : resultFields())
            result->clear();
        message(text);
    };
    // The inputs, converted in the order of the rows.
    ZoneInputs in{};
    std::vector<std::string> texts;
    const auto fields = rodInputs();
    for (size_t i = 0; i < static_cast<size_t>(InputCount(code)); ++i) {
        texts.push_back(fields[i]->text().toStdString());
        in[i] = numbers().toFloat(fields[i]->text());
    }
    // The instruction's limits: heights above 0 up to 150 m, a cable span
    // below 150 m.
    if (const InputRefusal refusal = RefusalOf(code, in); refusal != InputRefusal::None) {
        refuse(RefusalText(refusal));
        return;
    }
    // The zone; every number written must read back.
    const RodZone zone = ZoneOf(code, in, design_.zoneA, design_.zoneB, design_.zones);
    if (!IsFinite(zone)) {
        refuse(QStringLiteral("Исходные данные молниеотвода слишком велики: зона защиты не "
                              "вычисляется"));
        return;
    }
    // Kept with 2rx and 2r0 for the report.
    design_.complete(code, in, std::move(texts), zone);
    Button6->setEnabled(true);
    refreshDrawing();
    // At most one message: the first that applies.
    const QString warning = WarningText(code, WarningOf(zone, HxOf(code, in)), ZoneKindOf(zone));
    if (!warning.isEmpty())
        message(warning);
    // The results, two blanks before each; fields without a value empty.
    const auto results = resultFields();
    for (size_t i = 0; i < results.size(); ++i) {
        const auto value = QuantityOf(zone, layout.results[i].shows);
        results[i]->setText(value ? QStringLiteral("  ") + numbers().fixed(*value, 1) : QString());
    }
}

void TForm1::Button2Click() {
    // One figure of the zone gives the report both its drawing and its verdict.
    const Design shown = design();
    const auto drawn = DrawingOf(shown, numbers());
    const std::optional<ZoneFigure> figure =
        drawn
            ? std::optional<ZoneFigure>(PrepareZoneFigure(*drawn, numbers().decimalSeparatorUtf8()))
            : std::nullopt;
    const ZoneFigure* zone = figure ? &*figure : nullptr;
    const auto values = [&](ReportValue value) {
        return ReportText(shown, value, zone, numbers());
    };
    const auto picture = [this, zone] {
        return zone ? RenderZoneDrawing(*zone, ReportMaker::kPicturePixels, 200) : QImage();
    };
    report_->make(shown.rodType, values, picture, this);
}

void TForm1::Button6Click() {
    if (const auto shown = DrawingOf(design(), numbers()))
        Form8->showDrawing(*shown, Memo1->toPlainText(), this);
}

// The drawing window follows the last completed calculation and the
// building as it is now; after "Далее>>" it has no zone to show.
void TForm1::refreshDrawing() {
    const auto shown = DrawingOf(design(), numbers());
    if (shown && Button6->isEnabled())
        Form8->setDrawing(*shown, Memo1->toPlainText());
    else
        Form8->clearDrawing(QStringLiteral("Зона защиты не рассчитана для нового проекта: нажмите "
                                           "«Расчёт» на странице молниеотвода."));
    Label24->setText(Form8->figure() ? Form8->figure()->verdict.text : QString());
}

void TForm1::Button4Click() {
    PageControl1->setActivePage(TabSheet1);
    Button3->setEnabled(false);
}

} // namespace vostrel
