#include "drawing/zonedrawing.h"

#include "calc/numtext.h"
#include "calc/zonetexts.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <QTransform>
#include <algorithm>
#include <cmath>

namespace vostrel {

namespace {

// A rectangle in metres: x to the right, y up.
struct Box {
    double left = 0, bottom = 0, right = 0, top = 0;

    void add(Point p) {
        left = std::min(left, p.x);
        right = std::max(right, p.x);
        bottom = std::min(bottom, p.y);
        top = std::max(top, p.y);
    }
    double width() const { return right - left; }
    double height() const { return top - bottom; }
};

// Metres to device coordinates, one scale for both axes.
class View {
public:
    View(const Box& box, const QRectF& area) {
        const double w = std::max(box.width(), 1.0), h = std::max(box.height(), 1.0);
        scale_ = std::min(area.width() / w, area.height() / h);
        // Centred in the area.
        origin_ = QPointF(area.center().x() - (box.left + w / 2) * scale_,
                          area.center().y() + (box.bottom + h / 2) * scale_);
    }
    QPointF operator()(Point p) const {
        return {origin_.x() + p.x * scale_, origin_.y() - p.y * scale_};
    }
    double scale() const { return scale_; } // device units a metre
    QTransform transform() const {
        return QTransform(scale_, 0, 0, -scale_, origin_.x(), origin_.y());
    }
    Point metres(QPointF d) const {
        return {(d.x() - origin_.x()) / scale_, (origin_.y() - d.y()) / scale_};
    }

private:
    double scale_ = 1;
    QPointF origin_;
};

// 1, 2 or 5 times a power of ten, the first at least `at`.
double NiceStep(double at) {
    const double power = std::pow(10.0, std::floor(std::log10(std::max(at, 1e-9))));
    for (double f : {1.0, 2.0, 5.0, 10.0})
        if (f * power >= at)
            return f * power;
    return 10 * power;
}

QColor ZoneColour(ZoneKind kind) {
    return kind == ZoneKind::A ? kZoneAColour : kZoneBColour;
}

// The fills and lines of the views, the legend showing the same ones.
QColor ZoneFill(ZoneKind kind) {
    QColor fill = ZoneColour(kind);
    fill.setAlpha(90);
    return fill;
}
const QColor kBuildingFill(120, 120, 120, 70);
const QColor kBuildingLine(50, 50, 50);

// Device units a typographic point.
qreal PointSize(const QPainter& p) {
    return p.device()->logicalDpiY() / 72.0;
}

class Painter {
public:
    Painter(QPainter& p, const ZoneFigure& f) : p_(p), f_(f), d_(f.drawing), pt_(PointSize(p)) {
        font_ = QFont(QStringLiteral("Sans Serif"));
        font_.setStyleHint(QFont::SansSerif);
        font_.setPointSizeF(8);
    }

    void paint(const QRectF& area);

private:
    QString num(double v) const { return QString::fromStdString(FixedText(v, 1, f_.separator)); }
    QString symbol(Measure m, int rod) const;
    void setFont(qreal points, bool bold = false) {
        QFont f = font_;
        f.setPointSizeF(points);
        f.setBold(bold);
        p_.setFont(f);
    }
    QPen pen(const QColor& c, qreal points, Qt::PenStyle style = Qt::SolidLine) const {
        QPen pen(c, points * pt_, style);
        pen.setCosmetic(false);
        return pen;
    }

    void legend(const QRectF& area);
    View fitted(const QRectF& area, const Box& box);
    void titled(const QRectF& area, const QString& title);
    void building(const QRectF& outline);
    void grid(const QRectF& area, const View& view);
    void scaleBar(const QRectF& area, const View& view);
    void section(const QRectF& area);
    void plan(const QRectF& area);
    void dimension(const View& view, Point from, Point to, const QString& label, QPointF shift);
    void verticalDimension(QPointF a, QPointF b, const QString& label);
    void verdict(const QRectF& area);

    QPainter& p_;
    const ZoneFigure& f_;
    const ZoneDrawing& d_;
    qreal pt_;
    QFont font_;
};

QString Painter::symbol(Measure m, int rod) const {
    const QString index = rod ? QString::number(rod) : QString();
    switch (m) {
    case Measure::H:
        return QStringLiteral("h") + index;
    case Measure::H0:
        return rod ? QStringLiteral("h0%1").arg(rod) : QStringLiteral("h0");
    case Measure::Hx:
        return QStringLiteral("hx");
    case Measure::R0:
        return rod ? QStringLiteral("r0%1").arg(rod) : QStringLiteral("r0");
    case Measure::Rx:
        return QStringLiteral("rx") + index;
    case Measure::L:
        return QStringLiteral("L");
    case Measure::Hc:
        return QStringLiteral("hc");
    }
    return {};
}

void Painter::paint(const QRectF& area) {
    p_.save();
    p_.setRenderHint(QPainter::Antialiasing);
    p_.setRenderHint(QPainter::TextAntialiasing);
    p_.fillRect(area, Qt::white);
    const qreal gap = 6 * pt_;
    const qreal legendHeight = 16 * pt_, verdictHeight = 30 * pt_;
    const QRectF inner = area.adjusted(gap, gap, -gap, -gap);
    legend({inner.left(), inner.top(), inner.width(), legendHeight});
    const QRectF views(inner.left(), inner.top() + legendHeight + gap, inner.width(),
                       inner.height() - legendHeight - verdictHeight - 2 * gap);
    const qreal half = (views.width() - gap) / 2;
    section({views.left(), views.top(), half, views.height()});
    plan({views.left() + half + gap, views.top(), half, views.height()});
    verdict({inner.left(), inner.bottom() - verdictHeight, inner.width(), verdictHeight});
    p_.restore();
}

void Painter::legend(const QRectF& area) {
    setFont(8);
    const QFontMetricsF metrics(p_.font(), p_.device());
    qreal x = area.left();
    const qreal box = 9 * pt_, y = area.center().y();
    const ZoneKind kind = ZoneKindOf(d_.zone);
    struct Entry {
        QColor fill;
        QColor line;
        QString text;
    };
    const Entry entries[] = {
        {ZoneFill(ZoneKind::A), ZoneColour(ZoneKind::A).darker(150),
         QStringLiteral("Зона А") +
             (kind == ZoneKind::A ? QStringLiteral(" (расчётная)") : QString())},
        {ZoneFill(ZoneKind::B), ZoneColour(ZoneKind::B).darker(150),
         QStringLiteral("Зона Б") +
             (kind == ZoneKind::B ? QStringLiteral(" (расчётная)") : QString())},
        {kBuildingFill, kBuildingLine, QStringLiteral("Здание")},
    };
    for (const Entry& e : entries) {
        p_.setPen(pen(e.line, 0.8));
        p_.setBrush(e.fill);
        p_.drawRect(QRectF(x, y - box / 2, box, box));
        x += box + 3 * pt_;
        p_.setPen(Qt::black);
        p_.drawText(QPointF(x, y + metrics.ascent() / 2 - metrics.descent() / 2), e.text);
        x += metrics.horizontalAdvance(e.text) + 12 * pt_;
    }
    p_.setPen(pen(Qt::black, 1.6));
    p_.drawLine(QPointF(x, y + box / 2), QPointF(x, y - box / 2));
    x += 4 * pt_;
    p_.setPen(Qt::black);
    p_.drawText(QPointF(x, y + metrics.ascent() / 2 - metrics.descent() / 2),
                IsCatenary(d_.code) ? QStringLiteral("Трос, опоры")
                                    : QStringLiteral("Молниеотвод"));
}

// The box fitted into the view's area, leaving room for the title, the scale
// bar and the dimensions round the drawing.
View Painter::fitted(const QRectF& area, const Box& box) {
    setFont(9, true);
    const QFontMetricsF metrics(p_.font(), p_.device());
    return View(box, area.adjusted(44 * pt_, 14 * pt_ + metrics.height(), -44 * pt_, -34 * pt_));
}

void Painter::building(const QRectF& outline) {
    p_.setPen(pen(kBuildingLine, 1.0));
    p_.setBrush(kBuildingFill);
    p_.drawRect(outline);
}

// The frame and the title, over the grid.
void Painter::titled(const QRectF& area, const QString& title) {
    p_.setPen(pen(QColor(160, 160, 160), 0.6));
    p_.setBrush(Qt::NoBrush);
    p_.drawRect(area);
    setFont(9, true);
    const QFontMetricsF metrics(p_.font(), p_.device());
    const QRectF band(area.left() + 3 * pt_, area.top() + 2 * pt_,
                      metrics.horizontalAdvance(title) + 4 * pt_, metrics.height() + 4 * pt_);
    p_.fillRect(band, Qt::white);
    p_.setPen(Qt::black);
    p_.drawText(QPointF(band.left() + 2 * pt_, band.top() + 2 * pt_ + metrics.ascent()), title);
}

void Painter::grid(const QRectF& area, const View& view) {
    const double step = NiceStep(18 * pt_ / view.scale()); // at least 18 pt apart
    const Point lo = view.metres(area.bottomLeft()), hi = view.metres(area.topRight());
    p_.setPen(pen(QColor(225, 230, 238), 0.4));
    for (double x = std::ceil(lo.x / step) * step; x <= hi.x; x += step)
        p_.drawLine(view({x, lo.y}), view({x, hi.y}));
    for (double y = std::ceil(lo.y / step) * step; y <= hi.y; y += step)
        p_.drawLine(view({lo.x, y}), view({hi.x, y}));
}

void Painter::scaleBar(const QRectF& area, const View& view) {
    const double metres = NiceStep(area.width() / 5 / view.scale());
    const qreal length = metres * view.scale();
    const QPointF start(area.left() + 8 * pt_, area.bottom() - 10 * pt_);
    p_.setPen(pen(Qt::black, 0.8));
    p_.setBrush(Qt::black);
    p_.drawRect(QRectF(start.x(), start.y() - 2 * pt_, length / 2, 2.5 * pt_));
    p_.setBrush(Qt::white);
    p_.drawRect(QRectF(start.x() + length / 2, start.y() - 2 * pt_, length / 2, 2.5 * pt_));
    setFont(7);
    p_.setPen(Qt::black);
    p_.drawText(QPointF(start.x() + length + 4 * pt_, start.y() + 1 * pt_),
                QStringLiteral("%1 м").arg(QString::number(metres)));
}

// A dimension line between two points in metres, its label beside the middle.
void Painter::dimension(const View& view, Point from, Point to, const QString& label,
                        QPointF shift) {
    const QPointF a = view(from) + shift, b = view(to) + shift;
    p_.setPen(pen(QColor(30, 30, 30), 0.6));
    p_.drawLine(a, b);
    // Ticks at the ends, across the line.
    const QPointF d = b - a;
    const qreal len = std::hypot(d.x(), d.y());
    if (len > 0) {
        const QPointF n(-d.y() / len * 3 * pt_, d.x() / len * 3 * pt_);
        p_.drawLine(a - n, a + n);
        p_.drawLine(b - n, b + n);
    }
    setFont(7);
    const QFontMetricsF metrics(p_.font(), p_.device());
    const QPointF mid = (a + b) / 2;
    const bool vertical = std::abs(d.x()) < std::abs(d.y());
    const qreal w = metrics.horizontalAdvance(label);
    QPointF at = vertical ? QPointF(mid.x() - w - 3 * pt_, mid.y() + metrics.ascent() / 2)
                          : QPointF(mid.x() - w / 2, mid.y() - 2 * pt_);
    // A label on a light ground, readable over the fill.
    p_.fillRect(QRectF(at.x() - 1 * pt_, at.y() - metrics.ascent(), w + 2 * pt_, metrics.height()),
                QColor(255, 255, 255, 200));
    p_.setPen(Qt::black);
    p_.drawText(at, label);
}

void Painter::section(const QRectF& area) {
    const ZoneSection& s = f_.section;
    // The building in section: its length along the rods' axis, its width
    // across the cable.
    const bool across = IsCatenary(d_.code);
    const double half = d_.building ? (across ? d_.building->width : d_.building->length) / 2 : 0;
    // The building stands midway between the rods (cables).
    double middle = 0;
    if (!s.rods.empty()) {
        for (const Segment& r : s.rods)
            middle += r.from.x;
        middle /= static_cast<double>(s.rods.size());
    } else if (!s.cables.empty()) {
        for (Point c : s.cables)
            middle += c.x;
        middle /= static_cast<double>(s.cables.size());
    }
    Box box{middle, 0, middle, 0};
    for (const auto& line : s.boundary)
        for (Point p : line)
            box.add(p);
    for (const Segment& r : s.rods) {
        box.add(r.from);
        box.add(r.to);
    }
    for (Point c : s.cables)
        box.add(c);
    if (d_.building) {
        box.add({middle - half, 0});
        box.add({middle + half, d_.building->height});
    }
    box.top = std::max(box.top, s.hx);
    const View view = fitted(area, box);
    p_.save();
    p_.setClipRect(area);
    grid(area, view);
    // The zone: each boundary closed along the ground.
    const QColor fill = ZoneFill(ZoneKindOf(d_.zone));
    for (const auto& line : s.boundary) {
        if (line.size() < 2)
            continue;
        QPainterPath path(view(line.front()));
        for (size_t i = 1; i < line.size(); ++i)
            path.lineTo(view(line[i]));
        path.closeSubpath();
        p_.setPen(pen(fill.darker(170), 1.0));
        p_.setBrush(fill);
        p_.drawPath(path);
    }
    // The ground.
    p_.setPen(pen(QColor(90, 70, 40), 1.2));
    p_.drawLine(view({box.left - box.width(), 0}), view({box.right + box.width(), 0}));
    // The building.
    if (d_.building) {
        building(QRectF(view({middle - half, d_.building->height}), view({middle + half, 0})));
    }
    // The level hx.
    p_.setPen(pen(QColor(200, 30, 30), 0.8, Qt::DashLine));
    p_.drawLine(view({box.left, s.hx}), view({box.right, s.hx}));
    // Rods and cables.
    p_.setPen(pen(Qt::black, 1.8));
    for (const Segment& r : s.rods)
        p_.drawLine(view(r.from), view(r.to));
    p_.setBrush(Qt::black);
    for (Point c : s.cables)
        p_.drawEllipse(view(c), 2.5 * pt_, 2.5 * pt_);
    p_.restore();
    titled(area, QStringLiteral("Вертикальное сечение"));
    // Dimensions: heights in the margin beside the drawing (the second rod's
    // on the right), lengths below the ground, the rest where they lie.
    int left = 0, right = 0, below = 0;
    for (const Dimension& dim : s.dimensions) {
        const QString label =
            QStringLiteral("%1 = %2").arg(symbol(dim.what, dim.rod), num(dim.value));
        if (dim.what == Measure::H || dim.what == Measure::H0 || dim.what == Measure::Hx) {
            const bool onRight = dim.rod == 2;
            const double x = onRight ? box.right : box.left;
            const qreal offset = (onRight ? ++right : ++left) * 12 * pt_;
            const QPointF shift(onRight ? offset : -offset, 0);
            const QPointF a = view({x, 0}) + shift, b = view({x, dim.value}) + shift;
            // Thin leaders from the measured point to the line.
            p_.setPen(pen(QColor(160, 160, 160), 0.4, Qt::DotLine));
            p_.drawLine(view(dim.to), b);
            verticalDimension(a, b, label);
        } else {
            const QPointF shift = dim.what == Measure::R0 || dim.what == Measure::L
                                      ? QPointF(0, (++below) * 10 * pt_)
                                      : QPointF();
            dimension(view, dim.from, dim.to, label, shift);
        }
    }
}

void Painter::verticalDimension(QPointF a, QPointF b, const QString& label) {
    p_.setPen(pen(QColor(30, 30, 30), 0.6));
    p_.drawLine(a, b);
    p_.drawLine(a - QPointF(3 * pt_, 0), a + QPointF(3 * pt_, 0));
    p_.drawLine(b - QPointF(3 * pt_, 0), b + QPointF(3 * pt_, 0));
    setFont(7);
    const QFontMetricsF metrics(p_.font(), p_.device());
    p_.save();
    p_.translate((a + b) / 2);
    p_.rotate(-90);
    const qreal w = metrics.horizontalAdvance(label);
    p_.fillRect(QRectF(-w / 2 - pt_, -metrics.ascent() - 1.5 * pt_, w + 2 * pt_, metrics.height()),
                QColor(255, 255, 255, 220));
    p_.setPen(Qt::black);
    p_.drawText(QPointF(-w / 2, -1.5 * pt_), label);
    p_.restore();
}

void Painter::plan(const QRectF& area) {
    const ZonePlan& plan = f_.plan;
    const double hx = HxOf(d_.code, d_.inputs);
    Box box;
    for (const auto& outline : f_.outlines)
        for (Point p : outline)
            box.add(p);
    for (const PlanPiece& c : plan.conductors)
        for (Point p : c.core)
            box.add(p);
    if (d_.building) {
        box.add({-d_.building->length / 2, -d_.building->width / 2});
        box.add({d_.building->length / 2, d_.building->width / 2});
    }
    const View view = fitted(area, box);
    p_.save();
    p_.setClipRect(area);
    grid(area, view);
    const QColor fill = ZoneFill(ZoneKindOf(d_.zone));
    // The union of the pieces filled once (no darker overlaps), its boundary
    // stroked.
    p_.setPen(Qt::NoPen);
    p_.setBrush(fill);
    p_.drawPath(view.transform().map(f_.planFill));
    p_.setPen(pen(fill.darker(170), 1.0));
    for (const Segment& edge : f_.boundary)
        p_.drawLine(view(edge.from), view(edge.to));
    // The building.
    if (d_.building) {
        building(QRectF(view({-d_.building->length / 2, d_.building->width / 2}),
                        view({d_.building->length / 2, -d_.building->width / 2})));
    }
    // Rods as dots, cables as lines with their supports.
    p_.setPen(pen(Qt::black, 1.6));
    p_.setBrush(Qt::black);
    for (const PlanPiece& c : plan.conductors) {
        if (c.core.size() == 1) {
            p_.drawEllipse(view(c.core[0]), 2.5 * pt_, 2.5 * pt_);
        } else if (c.core.size() == 2) {
            p_.drawLine(view(c.core[0]), view(c.core[1]));
            p_.drawRect(
                QRectF(view(c.core[0]) - QPointF(2 * pt_, 2 * pt_), QSizeF(4 * pt_, 4 * pt_)));
            p_.drawRect(
                QRectF(view(c.core[1]) - QPointF(2 * pt_, 2 * pt_), QSizeF(4 * pt_, 4 * pt_)));
        }
    }
    p_.restore();
    titled(area, QStringLiteral("План на высоте hx = %1 м").arg(num(hx)));
    if (plan.pieces.empty()) {
        setFont(8, true);
        p_.setPen(QColor(180, 0, 0));
        p_.drawText(area.adjusted(0, 20 * pt_, 0, 0), Qt::AlignHCenter | Qt::AlignTop,
                    QStringLiteral("На высоте hx зона защиты отсутствует"));
    }
    // Dimensions: rx from a conductor outward, L between the rods (cables),
    // rcx midway, a along the span.
    const auto q = [&](Quantity which) { return QuantityOf(d_.zone, which); };
    const double L = d_.code == kDoubleRod || d_.code == kUnequalRods
                         ? d_.inputs[d_.code == kDoubleRod ? 1 : 2]
                     : d_.code == kDoubleCatenary ? d_.inputs[2]
                                                  : 0;
    const double a = IsCatenary(d_.code) ? d_.inputs[1] : 0;
    const QPointF below(0, 10 * pt_);
    if (d_.code == kUnequalRods) {
        for (int rod : {1, 2}) {
            const double r = *q(rod == 1 ? Quantity::Rx1 : Quantity::Rx2);
            const double x = rod == 1 ? -L / 2 : L / 2;
            if (r > 0)
                dimension(view, {x, 0}, {x, -r}, QStringLiteral("rx%1 = %2").arg(rod).arg(num(r)),
                          {});
        }
    } else if (const auto rx = q(Quantity::Rx); rx && *rx > 0) {
        const Point from = d_.code == kDoubleRod        ? Point{-L / 2, 0}
                           : d_.code == kDoubleCatenary ? Point{0, L / 2}
                                                        : Point{0, 0};
        dimension(view, from, {from.x, from.y + *rx}, QStringLiteral("rx = %1").arg(num(*rx)), {});
    }
    if (L > 0 && (d_.code == kDoubleRod || d_.code == kUnequalRods))
        dimension(view, {-L / 2, box.bottom}, {L / 2, box.bottom},
                  QStringLiteral("L = %1").arg(num(L)), below);
    if (d_.code == kDoubleCatenary)
        dimension(view, {box.right, -L / 2}, {box.right, L / 2},
                  QStringLiteral("L = %1").arg(num(L)), QPointF(8 * pt_, 0));
    if (const auto rcx = q(Quantity::Rcx); rcx && *rcx > 0 && !IsCatenary(d_.code))
        dimension(view, {0, 0}, {0, *rcx}, QStringLiteral("rcx = %1").arg(num(*rcx)), {});
    if (a > 0)
        dimension(view, {-a / 2, box.bottom}, {a / 2, box.bottom},
                  QStringLiteral("a = %1").arg(num(a)), below);
    scaleBar(area, view);
}

void Painter::verdict(const QRectF& area) {
    const Verdict& v = f_.verdict;
    setFont(9, true);
    p_.setPen(!v.checked ? QColor(90, 90, 90) : v.inside ? QColor(0, 128, 0) : QColor(200, 0, 0));
    p_.drawText(area, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap, v.text);
}

} // namespace

Verdict VerdictOf(const ZoneDrawing& d, std::string_view separator) {
    if (!d.building)
        return {QStringLiteral("Здание не нарисовано и не проверено: размеры здания на первой "
                               "странице не числа."),
                false, false};
    const BuildingCheck check =
        CheckBuilding(PlanOf(d.inputs, d.zone), d.building->width, d.building->length);
    return {QString::fromStdString(
                VerdictText(check, HxOf(d.code, d.inputs), d.building->height, separator)),
            check.inside, true};
}

ZoneFigure PrepareZoneFigure(const ZoneDrawing& drawing, std::string_view separator) {
    ZoneFigure f{drawing,
                 SectionOf(drawing.code, drawing.inputs, drawing.zone),
                 PlanOf(drawing.inputs, drawing.zone),
                 {},
                 {},
                 {},
                 VerdictOf(drawing, separator),
                 std::string(separator)};
    QPainterPath pieces;
    pieces.setFillRule(Qt::WindingFill);
    for (const PlanPiece& piece : f.plan.pieces) {
        f.outlines.push_back(Outline(piece));
        const std::vector<Point>& outline = f.outlines.back();
        if (outline.size() < 3)
            continue;
        QPolygonF polygon;
        for (Point p : outline)
            polygon << QPointF(p.x, p.y);
        pieces.addPolygon(polygon);
        pieces.closeSubpath();
    }
    f.planFill = pieces.simplified();
    f.boundary = UnionBoundary(f.plan);
    return f;
}

void PaintZoneDrawing(QPainter& painter, const QRectF& area, const ZoneFigure& figure) {
    Painter(painter, figure).paint(area);
}

QByteArray DrawingPng(const QImage& image) {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    const QImage palette =
        image.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither | Qt::AvoidDither);
    if (!palette.save(&buffer, "PNG", 80)) // light compression: fast, still small
        png.clear();
    return png;
}

QImage RenderZoneDrawing(const ZoneFigure& drawing, QSize size, int dpi) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    const int perMetre = static_cast<int>(std::lround(dpi / 0.0254));
    image.setDotsPerMeterX(perMetre);
    image.setDotsPerMeterY(perMetre);
    image.fill(Qt::white);
    QPainter painter(&image);
    PaintZoneDrawing(painter, QRectF(QPointF(0, 0), QSizeF(size)), drawing);
    return image;
}

} // namespace vostrel
