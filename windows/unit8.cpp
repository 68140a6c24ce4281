#include "unit8.h"

#include "calc/numtext.h"
#include "rodtable.h"
#include "ui/controls.h"

#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QSaveFile>
#include <QStandardPaths>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <functional>
#include <tuple>

namespace vostrel {

namespace {
// Paints the drawing at whatever size the window gives it, or why there is
// none.
// In the plan, a drag moves the rods by as many metres as the mouse went,
// a turn of the wheel turns them by 5° a step. In a system's plan a drag
// that starts on a rod moves that rod alone.
class Canvas final : public QWidget {
public:
    using Move = std::function<void(Point by, double turnDegrees)>;
    using DragRod = std::function<void(int index, Point at)>;
    Canvas(QWidget* parent, const std::optional<ZoneFigure>& drawing, const QString& why, Move move,
           DragRod dragRod)
        : QWidget(parent), drawing_(drawing), why_(why), move_(std::move(move)),
          dragRod_(std::move(dragRod)) {
        setAttribute(Qt::WA_OpaquePaintEvent); // every pixel painted: no flicker
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        std::vector<QRectF> frames;
        plan_ = QTransform();
        planFrame_ = QRectF();
        if (drawing_) {
            PaintZoneDrawing(painter, rect(), *drawing_, {false, nullptr, &frames, &plan_});
            if (frames.size() == 2 && drawing_->drawing.building)
                planFrame_ = frames[1];
        } else {
            PaintNoDrawing(painter, rect(), why_);
        }
    }
    void mousePressEvent(QMouseEvent* event) override {
        const bool left = event->button() == Qt::LeftButton;
        rod_ = left ? rodAt(event->position()) : -1;
        dragging_ = left && rod_ < 0 && planFrame_.contains(event->position());
        last_ = event->position();
        // The rod held where it was picked, not snapped to the pointer, and
        // moved in the metres of the plan as pressed: the view refits to the
        // zone as it changes, the pointer's metres stay.
        if (rod_ >= 0) {
            const Rod& rod = drawing_->drawing.system->rods[static_cast<std::size_t>(rod_)];
            pressed_ = plan_.inverted();
            grab_ = QPointF(rod.x, rod.y) - pressed_.map(last_);
        }
    }
    void mouseMoveEvent(QMouseEvent* event) override {
        if (rod_ >= 0) {
            const QPointF at = pressed_.map(event->position()) + grab_;
            dragRod_(rod_, {at.x(), at.y()});
            return;
        }
        if (!dragging_ || !plan_.isInvertible())
            return;
        const QPointF by = plan_.inverted().map(event->position()) - plan_.inverted().map(last_);
        last_ = event->position();
        move_({by.x(), by.y()}, 0);
    }
    void mouseReleaseEvent(QMouseEvent*) override {
        dragging_ = false;
        rod_ = -1;
    }
    void wheelEvent(QWheelEvent* event) override {
        if (!planFrame_.contains(event->position()))
            return;
        move_({0, 0}, 5.0 * event->angleDelta().y() / 120);
        event->accept();
    }

private:
    // The system's rod nearest `pixel` within 8 px of it, or -1.
    int rodAt(QPointF pixel) const {
        if (!drawing_ || !drawing_->drawing.system || !plan_.isInvertible())
            return -1;
        const std::vector<Rod>& rods = drawing_->drawing.system->rods;
        int nearest = -1;
        double least = 8;
        for (std::size_t i = 0; i < rods.size(); ++i) {
            const QPointF off = plan_.map(QPointF(rods[i].x, rods[i].y)) - pixel;
            if (const double d = std::hypot(off.x(), off.y()); d <= least) {
                least = d;
                nearest = static_cast<int>(i);
            }
        }
        return nearest;
    }

    const std::optional<ZoneFigure>& drawing_;
    const QString& why_;
    Move move_;
    DragRod dragRod_;
    QTransform plan_;       // metres of the plan to pixels, as last painted
    QRectF planFrame_;      // the plan's frame; empty: nothing to move
    bool dragging_ = false; // the placement
    int rod_ = -1;          // the system's rod dragged, or -1
    QTransform pressed_;    // pixels to metres when it was picked
    QPointF grab_;          // from the pointer to that rod, m
    QPointF last_;
};

// The formats offered, in the dialog's order, and the PDF's sheet of each.
struct Format {
    const char* filter;
    const char* suffix;
    DrawingFormat format;
};
constexpr Format kFormats[] = {
    {"Рисунок PNG (*.png)", "png", DrawingFormat::Png},
    {"Рисунок SVG (*.svg)", "svg", DrawingFormat::Svg},
    {"Чертёж PDF, A4 (*.pdf)", "pdf", DrawingFormat::PdfA4},
    {"Чертёж PDF, A3 (*.pdf)", "pdf", DrawingFormat::PdfA3},
};
} // namespace

TForm8::TForm8(Services& services)
    : Form(services, QStringLiteral("Зона защиты"), QSize(900, 560)) {
    setObjectName(QStringLiteral("Form8"));
    // Unlike the other windows this one may be resized, down to 640 x 480.
    setWindowFlags(Qt::Window);
    setMinimumSize(640, 480);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    // A rod dragged to a tenth of a metre, as it is typed.
    const auto tenth = [](double v) { return std::round(v * 10) / 10 + 0.0; }; // no "-0"
    Image1 = new Canvas(
        this, figure_, why_, [this](Point by, double turn) { movePlacement(by, turn); },
        [this, tenth](int index, Point at) {
            emit rodDragged(index, {tenth(at.x), tenth(at.y)});
        });
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setAccessibleName(QStringLiteral("Чертёж зоны защиты"));
    Button1 = MakeButton(this, "Button1", {0, 0, 105, 25}, QStringLiteral("Сохранить…"), 10);
    Button1->setFixedSize(105, 25);
    Button1->setEnabled(false);
    // The placement's fields, captioned, and the verdict under them.
    auto* placement = new QGroupBox(QStringLiteral("Размещение молниеотвода"), this);
    auto* fields = new QFormLayout(placement);
    const std::tuple<QLineEdit**, const char*, const char*> edits[] = {
        {&Edit1, "Edit1", "x, м"}, {&Edit2, "Edit2", "y, м"}, {&Edit3, "Edit3", "Угол, °"}};
    for (const auto& [edit, name, caption] : edits) {
        const QString text = QString::fromUtf8(caption);
        *edit = new QLineEdit(placement);
        (*edit)->setObjectName(QLatin1String(name));
        (*edit)->setAccessibleName(text);
        (*edit)->setEnabled(false);
        fields->addRow(text, *edit);
        connect(*edit, &QLineEdit::textEdited, this, [this] { placementEdited(); });
    }
    Label4 = new QLabel(this);
    Label4->setObjectName(QStringLiteral("Label4"));
    Label4->setAccessibleName(QStringLiteral("Вывод"));
    Label4->setWordWrap(true);
    Label4->setTextInteractionFlags(Qt::TextSelectableByMouse);
    RodTable1 = new RodTable(this);
    RodTable1->setFixedWidth(300);
    RodTable1->hide();
    Button2 = MakeButton(this, "Button2", {0, 0, 190, 25}, QStringLiteral("Подобрать высоту"), 10);
    Button2->setFixedSize(190, 25);
    Button2->setEnabled(false);
    auto* side = new QVBoxLayout;
    side->addWidget(placement);
    side->addWidget(Button2);
    side->addWidget(RodTable1, 1);
    side->addWidget(Label4);
    side->addStretch();
    auto* top = new QHBoxLayout;
    top->addWidget(Image1, 1);
    top->addLayout(side);
    placement->setFixedWidth(190);
    Label4->setFixedWidth(190);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addLayout(top, 1);
    layout->addLayout(buttons);
    onClick(Button1, &TForm8::Button1Click);
    onClick(Button2, &TForm8::Button2Click);
}

void TForm8::showDrawing(const ZoneDrawing& drawing, const QString& object, const QWidget* owner) {
    setDrawing(drawing, object);
    showOver(owner);
}

void TForm8::setDrawing(const ZoneDrawing& drawing, const QString& object) {
    figure_ = PrepareZoneFigure(drawing, numbers().decimalSeparatorUtf8());
    object_ = object;
    Button1->setEnabled(true);
    showPlacement();
    Image1->update();
}

void TForm8::clearDrawing(const QString& why) {
    figure_.reset();
    why_ = why;
    Button1->setEnabled(false);
    showPlacement();
    Image1->update();
}

void TForm8::showRodTable(bool shown) {
    RodTable1->setVisible(shown);
    Edit1->parentWidget()->setVisible(!shown);
}

bool TForm8::placeable() const {
    return figure_ && figure_->drawing.building && !figure_->drawing.system;
}

// The fields and the verdict after the figure; a field whose text already
// reads as the placement is left as typed.
void TForm8::showPlacement() {
    Label4->setText(figure_ ? figure_->verdict.text : why_);
    const std::optional<Placement> placement =
        placeable() ? std::optional(PlacementOf(figure_->drawing)) : std::nullopt;
    const double values[] = {placement ? placement->x : 0, placement ? placement->y : 0,
                             placement ? placement->angleDegrees : 0};
    Button2->setEnabled(figure_ && figure_->drawing.building);
    QLineEdit* const edits[] = {Edit1, Edit2, Edit3};
    for (size_t i = 0; i < std::size(edits); ++i) {
        edits[i]->setEnabled(placement.has_value());
        if (!placement) {
            edits[i]->clear();
            continue;
        }
        bool same = false;
        try {
            same = numbers().toFloat(edits[i]->text()) == values[i];
        } catch (const ConversionError&) {
        }
        if (!same)
            edits[i]->setText(numbers().fixed(values[i], 2));
    }
}

// A placement typed: the drawing follows at once. A field that does not
// read as a number (yet) changes nothing; the verdict line says why.
void TForm8::placementEdited() {
    if (!placeable())
        return;
    const std::pair<QLineEdit*, const char*> edits[] = {
        {Edit1, "x, м"}, {Edit2, "y, м"}, {Edit3, "Угол, °"}};
    double values[3];
    for (size_t i = 0; i < std::size(edits); ++i) {
        const QString caption = QString::fromUtf8(edits[i].second);
        try {
            values[i] = numbers().toFloat(edits[i].first->text());
        } catch (const ConversionError&) {
            Label4->setText(
                QStringLiteral("Размещение не изменено: в поле «%1» не число.").arg(caption));
            return;
        }
        if (!std::isfinite(values[i]) || std::abs(values[i]) > 10000) {
            Label4->setText(
                QStringLiteral("Размещение не изменено: в поле «%1» число больше 10 000 по модулю.")
                    .arg(caption));
            return;
        }
    }
    place({values[0], values[1], values[2]});
}

void TForm8::movePlacement(Point by, double turnDegrees) {
    if (!placeable())
        return;
    Placement placement = PlacementOf(figure_->drawing);
    placement.x += by.x;
    placement.y += by.y;
    // The angle kept within [−180°, 180°].
    placement.angleDegrees = std::remainder(placement.angleDegrees + turnDegrees, 360.0);
    place(placement);
}

void TForm8::place(const Placement& placement) {
    ZoneDrawing drawing = figure_->drawing;
    drawing.placement = placement;
    setDrawing(drawing, object_);
    emit placementChanged(placement);
}

SheetInscription TForm8::inscription() const {
    const std::int32_t code = figure_->drawing.system ? kRodSystem : figure_->drawing.code;
    return {QStringLiteral("Зона защиты — %1").arg(RodTypeName(code)), object_.simplified(),
            QDate::currentDate()};
}

Outcome<void, QString> TForm8::save(const QString& file, DrawingFormat pdf) const {
    const QString suffix = QFileInfo(file).suffix().toLower();
    if (suffix != QLatin1String("png") && suffix != QLatin1String("svg") &&
        suffix != QLatin1String("pdf"))
        return Failure(QStringLiteral("Чертёж сохраняется в формате PNG, SVG или PDF: у файла «%1» "
                                      "нет расширения .png, .svg или .pdf")
                           .arg(QDir::toNativeSeparators(file)));
    if (!figure_)
        return Failure(QStringLiteral("Чертёж не сохранён: %1").arg(why_));
    QSaveFile out(file);
    const auto failed = [&] {
        return Failure(QStringLiteral("Не удалось сохранить чертёж в файл «%1»: %2")
                           .arg(QDir::toNativeSeparators(file), out.errorString()));
    };
    if (!out.open(QIODevice::WriteOnly))
        return failed();
    const DrawingFormat format = suffix == QLatin1String("png")   ? DrawingFormat::Png
                                 : suffix == QLatin1String("svg") ? DrawingFormat::Svg
                                                                  : pdf;
    if (!WriteDrawing(out, format, *figure_, inscription())) {
        out.cancelWriting();
        return Failure(QStringLiteral("Не удалось сохранить чертёж в файл «%1»: ошибка записи")
                           .arg(QDir::toNativeSeparators(file)));
    }
    if (!out.commit())
        return failed();
    return {};
}

void TForm8::Button1Click() {
    // Offered: the documents folder, then the last folder of this run; a
    // name from the rod type in the last format chosen.
    QStringList filters;
    for (const Format& f : kFormats)
        filters << QString::fromUtf8(f.filter);
    const QString folder = lastFolder_.isEmpty()
                               ? QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)
                               : lastFolder_;
    const QString name = QStringLiteral("%1.%2").arg(inscription().name,
                                                     QLatin1String(kFormats[lastFilter_].suffix));
    QString filter = filters[lastFilter_];
    QString file = services_.dialogs.saveFileName(this, QStringLiteral("Сохранить чертёж"),
                                                  QDir(folder).filePath(name),
                                                  filters.join(QStringLiteral(";;")), &filter);
    if (file.isEmpty())
        return;
    lastFilter_ = std::max<int>(0, static_cast<int>(filters.indexOf(filter)));
    // A name without an extension gets the chosen format's.
    if (QFileInfo(file).suffix().isEmpty())
        file += QLatin1Char('.') + QLatin1String(kFormats[lastFilter_].suffix);
    lastFolder_ = QFileInfo(file).absolutePath();
    if (const Outcome<void, QString> saved = save(file, kFormats[lastFilter_].format); !saved)
        message(saved.reason());
}

} // namespace vostrel
