#include "drawing/zonedrawing.h"

#include "calc/heightcheck.h"
#include "calc/numtext.h"
#include "drawing/labels.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <QTransform>
#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <tuple>

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
    double width() const { return std::max(right - left, 1.0); }
    double height() const { return std::max(top - bottom, 1.0); }
};

// Metres to device coordinates, one scale for both axes, the box centred.
class View {
public:
    View(const Box& box, const QRectF& area, double scale) : scale_(scale) {
        origin_ = QPointF(area.center().x() - (box.left + box.width() / 2) * scale_,
                          area.center().y() + (box.bottom + box.height() / 2) * scale_);
    }
    // The scale at which the box fills the area.
    static double fit(const Box& box, const QRectF& area) {
        return std::min(area.width() / box.width(), area.height() / box.height());
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

// The first denominator of the standard series of scales (1:1, 1:1,5, 1:2,
// 1:2,5, 1:4, 1:5, 1:7,5, then ten times each) that is at least `at`.
double StandardDenominator(double at) {
    const double power = std::pow(10.0, std::floor(std::log10(std::max(at, 1.0))));
    for (double f : {1.0, 1.5, 2.0, 2.5, 4.0, 5.0, 7.5, 10.0})
        if (f * power >= at * (1 - 1e-9))
            return f * power;
    return 10 * power;
}

// The part of the segment a-b inside `r` (Liang and Barsky); false when none.
bool ClipSegment(QPointF& a, QPointF& b, const QRectF& r) {
    const QPointF d = b - a;
    const double p[] = {-d.x(), d.x(), -d.y(), d.y()};
    const double q[] = {a.x() - r.left(), r.right() - a.x(), a.y() - r.top(), r.bottom() - a.y()};
    double t0 = 0, t1 = 1;
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0)
                return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
    }
    if (t0 > t1)
        return false;
    b = a + t1 * d;
    a = a + t0 * d;
    return true;
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
qreal PointSize(const QPaintDevice& device) {
    return device.logicalDpiY() / 72.0;
}

QFont DrawingFont(qreal points, bool bold = false) {
    QFont font(QStringLiteral("Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

// The verdict in bold, then its note.
std::array<std::pair<QString, bool>, 2> VerdictLines(const Verdict& v) {
    return {{{v.text, true}, {v.note, false}}};
}

// The building's extent along the section (the rods' axis; across the cable
// for catenaries), from the point midway between the rods (cables).
std::pair<double, double> SectionSpan(const ZoneDrawing& d) {
    const Placement at = PlacementOf(d);
    const double t = at.angleDegrees * std::numbers::pi / 180;
    const double c = at.angleDegrees == 0 ? 1 : std::cos(t),
                 s = at.angleDegrees == 0 ? 0 : std::sin(t);
    double from = 1e300, to = -1e300;
    for (const Point corner :
         {Point{0, 0}, Point{d.building->length, 0}, Point{0, d.building->width},
          Point{d.building->length, d.building->width}}) {
        const double x = corner.x - at.x, y = corner.y - at.y;
        const double along = IsCatenary(d.code) ? -s * x + c * y : c * x + s * y;
        from = std::min(from, along);
        to = std::max(to, along);
    }
    return {from, to};
}

// Where the parts of the drawing go.
struct Layout {
    QRectF legend, section, plan, verdict;
};

class Painter {
public:
    Painter(QPainter& p, const ZoneFigure& f, const PaintOptions& options)
        : p_(p), f_(f), d_(f.drawing), options_(options), pt_(PointSize(*p.device())),
          labels_(options.texts) {}

    double paint(const QRectF& area);

private:
    QString num(double v) const { return QString::fromStdString(FixedText(v, 1, f_.separator)); }
    void setFont(qreal points, bool bold = false) { p_.setFont(DrawingFont(points, bold)); }
    QFontMetricsF metrics() const { return QFontMetricsF(p_.font(), p_.device()); }
    QPen pen(const QColor& c, qreal points, Qt::PenStyle style = Qt::SolidLine) const {
        QPen pen(c, points * pt_, style);
        pen.setCosmetic(false);
        return pen;
    }

    // Texts, each kept clear of the others.
    QSizeF textSize(const QString& text) const;
    void write(const QRectF& box, const QString& text, bool rotated = false);
    void writeNear(const std::vector<QRectF>& candidates, const QString& text, QPointF anchor,
                   bool rotated = false);
    // Lines and shapes inside the current view's frame only.
    void line(QPointF a, QPointF b);
    void shape(const QPainterPath& path);

    Layout layout(const QRectF& area);
    void legend(const QRectF& area);
    void verdict(const QRectF& area);
    Box sectionBox() const;
    Box planBox() const;
    QRectF fitArea(const QRectF& area);
    QRectF titleBox(const QRectF& area, const QString& title);
    void frame(const QRectF& area, const QString& title, const QRectF& box);
    void grid(const View& view, Point origin = {});
    void scaleBar(const View& view);
    void section(const View& view, const Box& box);
    void plan(const View& view);
    void uncovered(const View& view);
    void dimensions(const View& view, const Box& box, const std::vector<DimensionLine>& lines);
    void dimensionLine(QPointF a, QPointF b, const QString& label, bool margin);

    QPainter& p_;
    const ZoneFigure& f_;
    const ZoneDrawing& d_;
    const PaintOptions& options_;
    qreal pt_;
    LabelBoxes labels_;
    QRectF frame_; // of the view being painted
};

QSizeF Painter::textSize(const QString& text) const {
    const QFontMetricsF m = metrics();
    return {m.horizontalAdvance(text) + 2 * pt_, m.height()};
}

// The text centred in `box` on a light ground (readable over the fills),
// upright or turned to read upwards.
void Painter::write(const QRectF& box, const QString& text, bool rotated) {
    labels_.take(box);
    p_.fillRect(box, QColor(255, 255, 255, 210));
    p_.setPen(Qt::black);
    if (!rotated) {
        p_.drawText(box, Qt::AlignCenter, text);
        return;
    }
    p_.save();
    p_.translate(box.center());
    p_.rotate(-90);
    p_.drawText(QRectF(-box.height() / 2, -box.width() / 2, box.height(), box.width()),
                Qt::AlignCenter, text);
    p_.restore();
}

// The text in the first free candidate box; else as near as there is room,
// with a thin leader to `anchor`.
void Painter::writeNear(const std::vector<QRectF>& candidates, const QString& text, QPointF anchor,
                        bool rotated) {
    const auto box = labels_.place(candidates, frame_.adjusted(pt_, pt_, -pt_, -pt_));
    if (!box)
        return; // no room at all: the view is smaller than its text
    if (std::find(candidates.begin(), candidates.end(), *box) == candidates.end()) {
        const QPointF to(std::clamp(anchor.x(), box->left(), box->right()),
                         std::clamp(anchor.y(), box->top(), box->bottom()));
        p_.setPen(pen(QColor(90, 90, 90), 0.4));
        line(anchor, to);
    }
    write(*box, text, rotated);
}

void Painter::line(QPointF a, QPointF b) {
    if (ClipSegment(a, b, frame_))
        p_.drawLine(a, b);
}

void Painter::shape(const QPainterPath& path) {
    if (frame_.contains(path.boundingRect())) {
        p_.drawPath(path);
        return;
    }
    QPainterPath frame;
    frame.addRect(frame_);
    p_.drawPath(path.intersected(frame));
}

double Painter::paint(const QRectF& area) {
    p_.save();
    p_.setRenderHint(QPainter::Antialiasing);
    p_.setRenderHint(QPainter::TextAntialiasing);
    p_.fillRect(area, Qt::white);
    const Layout l = layout(area);
    legend(l.legend);
    verdict(l.verdict);
    const Box sBox = sectionBox(), pBox = planBox();
    const QRectF sArea = fitArea(l.section), pArea = fitArea(l.plan);
    double sScale = View::fit(sBox, sArea), pScale = View::fit(pBox, pArea);
    const double perMm = p_.device()->logicalDpiX() / 25.4;
    double denominator = 1000 * perMm / std::min(sScale, pScale);
    if (options_.standardScale) {
        denominator = StandardDenominator(denominator);
        sScale = pScale = 1000 * perMm / denominator;
    }
    // The titles' room kept first, their text painted over the views.
    const std::pair<QRectF, QString> titles[] = {
        {l.section, QStringLiteral("Вертикальное сечение")},
        {l.plan,
         QStringLiteral("План на высоте hx = %1 м").arg(num(InputsOf(d_.code, d_.inputs).hx))}};
    QRectF titleBoxes[2];
    for (int i = 0; i < 2; ++i)
        titleBoxes[i] = titleBox(titles[i].first, titles[i].second);
    frame_ = l.section;
    section(View(sBox, sArea, sScale), sBox);
    frame_ = l.plan;
    const View planView(pBox, pArea, pScale);
    plan(planView);
    if (options_.plan)
        *options_.plan = planView.transform();
    for (int i = 0; i < 2; ++i)
        frame(titles[i].first, titles[i].second, titleBoxes[i]);
    p_.restore();
    return denominator;
}

Layout Painter::layout(const QRectF& area) {
    const qreal gap = 6 * pt_, legendHeight = 16 * pt_;
    const QRectF inner = area.adjusted(gap, gap, -gap, -gap);
    // The verdict's band as high as its lines need, wrapped to the width.
    qreal verdictHeight = 0;
    for (const auto& [text, bold] : VerdictLines(f_.verdict)) {
        setFont(bold ? 9 : 8, bold);
        if (!text.isEmpty())
            verdictHeight += metrics()
                                 .boundingRect(QRectF(0, 0, inner.width(), 1e6),
                                               Qt::AlignLeft | Qt::TextWordWrap, text)
                                 .height();
    }
    const QRectF views(inner.left(), inner.top() + legendHeight + gap, inner.width(),
                       inner.height() - legendHeight - verdictHeight - 2 * gap);
    const qreal half = (views.width() - gap) / 2;
    return {{inner.left(), inner.top(), inner.width(), legendHeight},
            {views.left(), views.top(), half, views.height()},
            {views.left() + half + gap, views.top(), half, views.height()},
            {inner.left(), inner.bottom() - verdictHeight, inner.width(), verdictHeight}};
}

void Painter::legend(const QRectF& area) {
    setFont(8);
    qreal x = area.left();
    const qreal box = 9 * pt_, y = area.center().y();
    const ZoneKind kind = ZoneKindOf(d_.zone);
    const auto zone = [&](ZoneKind k, const char* name) {
        return QString::fromUtf8(name) + (kind == k ? QStringLiteral(" (расчётная)") : QString());
    };
    const std::tuple<QColor, QColor, QString> entries[] = {
        {ZoneFill(ZoneKind::A), ZoneColour(ZoneKind::A).darker(150), zone(ZoneKind::A, "Зона А")},
        {ZoneFill(ZoneKind::B), ZoneColour(ZoneKind::B).darker(150), zone(ZoneKind::B, "Зона Б")},
        {kBuildingFill, kBuildingLine, QStringLiteral("Здание")},
    };
    for (const auto& [fill, edge, text] : entries) {
        p_.setPen(pen(edge, 0.8));
        p_.setBrush(fill);
        p_.drawRect(QRectF(x, y - box / 2, box, box));
        x += box + 2 * pt_;
        const QSizeF size = textSize(text);
        write(QRectF(QPointF(x, y - size.height() / 2), size), text);
        x += size.width() + 10 * pt_;
    }
    p_.setPen(pen(Qt::black, 1.6));
    p_.drawLine(QPointF(x, y + box / 2), QPointF(x, y - box / 2));
    x += 3 * pt_;
    const QString conductor =
        IsCatenary(d_.code) ? QStringLiteral("Трос, опоры") : QStringLiteral("Молниеотвод");
    const QSizeF size = textSize(conductor);
    write(QRectF(QPointF(x, y - size.height() / 2), size), conductor);
}

// The verdict in its colour, and the note under it.
void Painter::verdict(const QRectF& area) {
    const Verdict& v = f_.verdict;
    qreal top = area.top();
    for (const auto& [text, bold] : VerdictLines(v)) {
        if (text.isEmpty())
            continue;
        setFont(bold ? 9 : 8, bold);
        const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;
        const QRectF box = metrics().boundingRect(
            QRectF(area.left(), top, area.width(), area.bottom() - top), flags, text);
        labels_.take(box);
        p_.setPen(!bold        ? QColor(60, 60, 60)
                  : !v.checked ? QColor(90, 90, 90)
                  : v.inside   ? QColor(0, 128, 0)
                               : QColor(200, 0, 0));
        p_.drawText(box, flags, text);
        top = box.bottom();
    }
}

// The section's box: the zone, the rods (cables), the building and hx.
Box Painter::sectionBox() const {
    const ZoneSection& s = f_.section;
    Box box;
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
        const auto [from, to] = SectionSpan(d_);
        box.add({from, 0});
        box.add({to, d_.building->height});
    }
    box.top = std::max(box.top, s.hx);
    return box;
}

Box Painter::planBox() const {
    Box box;
    for (const auto& outline : f_.outlines)
        for (Point p : outline)
            box.add(p);
    for (const PlanPiece& c : f_.plan.conductors)
        for (Point p : c.core)
            box.add(p);
    if (d_.building) {
        box.add({0, 0});
        box.add({d_.building->length, d_.building->width});
    }
    return box;
}

// The room the view's drawing takes in its frame, leaving the margins for
// the title, the scale bar and the dimensions round it.
QRectF Painter::fitArea(const QRectF& area) {
    setFont(9, true);
    return area.adjusted(44 * pt_, 14 * pt_ + metrics().height(), -44 * pt_, -34 * pt_);
}

// The room of a view's title, kept from the labels.
QRectF Painter::titleBox(const QRectF& area, const QString& title) {
    setFont(9, true);
    const QRectF box(area.topLeft() + QPointF(3 * pt_, 3 * pt_),
                     textSize(title) + QSizeF(2 * pt_, 0));
    labels_.take(box);
    if (options_.frames)
        options_.frames->push_back(area);
    return box;
}

// The frame and the title on white, over the view.
void Painter::frame(const QRectF& area, const QString& title, const QRectF& box) {
    p_.setPen(pen(QColor(160, 160, 160), 0.6));
    p_.setBrush(Qt::NoBrush);
    p_.drawRect(area);
    setFont(9, true);
    p_.fillRect(box, Qt::white);
    p_.setPen(Qt::black);
    p_.drawText(box, Qt::AlignCenter, title);
}

// Lines a round number of metres from `origin`.
void Painter::grid(const View& view, Point origin) {
    const double step = NiceStep(18 * pt_ / view.scale()); // at least 18 pt apart
    const Point lo = view.metres(frame_.bottomLeft()), hi = view.metres(frame_.topRight());
    p_.setPen(pen(QColor(225, 230, 238), 0.4));
    const auto first = [step](double from, double o) {
        return o + std::ceil((from - o) / step) * step;
    };
    for (double x = first(lo.x, origin.x); x <= hi.x; x += step)
        line(view({x, lo.y}), view({x, hi.y}));
    for (double y = first(lo.y, origin.y); y <= hi.y; y += step)
        line(view({lo.x, y}), view({hi.x, y}));
}

void Painter::scaleBar(const View& view) {
    const double metres = NiceStep(frame_.width() / 5 / view.scale());
    const qreal length = metres * view.scale();
    const QPointF start(frame_.left() + 8 * pt_, frame_.bottom() - 10 * pt_);
    p_.setPen(pen(Qt::black, 0.8));
    p_.setBrush(Qt::black);
    p_.drawRect(QRectF(start.x(), start.y() - 2 * pt_, length / 2, 2.5 * pt_));
    p_.setBrush(Qt::white);
    p_.drawRect(QRectF(start.x() + length / 2, start.y() - 2 * pt_, length / 2, 2.5 * pt_));
    setFont(7);
    const QString text = QStringLiteral("%1 м").arg(QString::number(metres));
    const QSizeF size = textSize(text);
    const QPointF at(start.x() + length + 3 * pt_, start.y() - size.height() / 2);
    writeNear({QRectF(at, size)}, text, at);
}

void Painter::section(const View& view, const Box& box) {
    const ZoneSection& s = f_.section;
    grid(view);
    // The zone: each boundary closed along the ground.
    const QColor fill = ZoneFill(ZoneKindOf(d_.zone));
    p_.setPen(pen(fill.darker(170), 1.0));
    p_.setBrush(fill);
    for (const auto& outline : s.boundary) {
        if (outline.size() < 2)
            continue;
        QPainterPath path(view(outline.front()));
        for (size_t i = 1; i < outline.size(); ++i)
            path.lineTo(view(outline[i]));
        path.closeSubpath();
        shape(path);
    }
    p_.setPen(pen(QColor(90, 70, 40), 1.2)); // the ground, across the frame
    line(view({box.left - box.width(), 0}), view({box.right + box.width(), 0}));
    if (d_.building) {
        const auto [from, to] = SectionSpan(d_);
        p_.setPen(pen(kBuildingLine, 1.0));
        p_.setBrush(kBuildingFill);
        QPainterPath outline;
        outline.addRect(QRectF(view({from, d_.building->height}), view({to, 0})));
        shape(outline);
    }
    p_.setPen(pen(QColor(200, 30, 30), 0.8, Qt::DashLine));
    line(view({box.left, s.hx}), view({box.right, s.hx}));
    p_.setPen(pen(Qt::black, 1.8));
    for (const Segment& r : s.rods)
        line(view(r.from), view(r.to));
    p_.setBrush(Qt::black);
    for (Point c : s.cables)
        p_.drawEllipse(view(c), 2.5 * pt_, 2.5 * pt_);
    scaleBar(view);
    dimensions(view, box, f_.sectionDimensions);
}

void Painter::plan(const View& view) {
    // The grid from the building's middle, as the rods' own plan had it.
    grid(view, d_.building ? Point{d_.building->length / 2, d_.building->width / 2} : Point{});
    const QColor fill = ZoneFill(ZoneKindOf(d_.zone));
    // The union of the pieces filled once (no darker overlaps), its boundary
    // stroked.
    p_.setPen(Qt::NoPen);
    p_.setBrush(fill);
    shape(view.transform().map(f_.planFill));
    p_.setPen(pen(fill.darker(170), 1.0));
    for (const Segment& edge : f_.boundary)
        line(view(edge.from), view(edge.to));
    if (d_.building) {
        p_.setPen(pen(kBuildingLine, 1.0));
        p_.setBrush(kBuildingFill);
        QPainterPath outline;
        outline.addRect(QRectF(view({0, d_.building->width}), view({d_.building->length, 0})));
        shape(outline);
        uncovered(view);
    }
    // Rods as dots, cables as lines with their supports.
    p_.setPen(pen(Qt::black, 1.6));
    p_.setBrush(Qt::black);
    for (const PlanPiece& c : f_.plan.conductors) {
        for (Point end : c.core)
            p_.drawEllipse(view(end), 2.5 * pt_, 2.5 * pt_);
        if (c.core.size() == 2)
            line(view(c.core[0]), view(c.core[1]));
    }
    scaleBar(view);
    if (f_.plan.pieces.empty()) {
        setFont(8, true);
        const QString text = QStringLiteral("На высоте hx зона защиты отсутствует");
        const QSizeF size = textSize(text);
        const QPointF at(frame_.center().x() - size.width() / 2, frame_.top() + 20 * pt_);
        writeNear({QRectF(at, size)}, text, at);
    }
    dimensions(view, planBox(), f_.planDimensions);
}

// The roof outside the zone at its height hatched red, and its point
// farthest from the zone marked with that distance.
void Painter::uncovered(const View& view) {
    if (!f_.roof || f_.roof->check.inside)
        return;
    p_.setPen(Qt::NoPen); // the parts share sides: filled, not outlined
    for (const QBrush& brush :
         {QBrush(QColor(220, 0, 0, 60)), QBrush(QColor(200, 0, 0), Qt::BDiagPattern)}) {
        p_.setBrush(brush);
        for (const auto& part : f_.roof->uncovered) {
            QPolygonF polygon;
            for (Point p : part)
                polygon << view(p);
            QPainterPath path;
            path.addPolygon(polygon);
            path.closeSubpath();
            shape(path);
        }
    }
    const QPointF worst = view(f_.roof->check.worst);
    const qreal r = 3 * pt_;
    p_.setPen(pen(QColor(200, 0, 0), 1.4));
    line(worst - QPointF(r, r), worst + QPointF(r, r));
    line(worst - QPointF(r, -r), worst + QPointF(r, -r));
    setFont(7, true);
    const QString text = QStringLiteral("%1 м").arg(num(f_.roof->check.overshoot));
    const QSizeF size = textSize(text);
    std::vector<QRectF> candidates;
    for (const QPointF& off : {QPointF(r, -r - size.height()), QPointF(-r - size.width(), r),
                               QPointF(r, r), QPointF(-r - size.width(), -r - size.height())})
        candidates.emplace_back(worst + off, size);
    writeNear(candidates, text, worst);
}

// Each line where it lies or moved to the edge of the box round the view's
// drawing, stacked away from it one after another.
void Painter::dimensions(const View& view, const Box& box,
                         const std::vector<DimensionLine>& lines) {
    using Place = DimensionLine::Place;
    int left = 0, right = 0, below = 0;
    for (const DimensionLine& dim : lines) {
        QPointF a = view(dim.from), b = view(dim.to);
        switch (dim.place) {
        case Place::Where:
            break;
        case Place::Below:
            a = QPointF(a.x(), view({0, box.bottom}).y() + ++below * 10 * pt_);
            b = QPointF(b.x(), a.y());
            break;
        case Place::Left:
        case Place::Right: {
            const bool onLeft = dim.place == Place::Left;
            const qreal x = view({onLeft ? box.left : box.right, 0}).x() +
                            (onLeft ? -1 : 1) * ++(onLeft ? left : right) * 12 * pt_;
            p_.setPen(pen(QColor(160, 160, 160), 0.4, Qt::DotLine));
            line(b, QPointF(x, b.y()));
            a.setX(x);
            b.setX(x);
            break;
        }
        }
        dimensionLine(a, b, dim.label, dim.place == Place::Left || dim.place == Place::Right);
    }
}

// The line with ticks at its ends and its label beside the middle: turned
// along a line in the margin, upright elsewhere.
void Painter::dimensionLine(QPointF a, QPointF b, const QString& label, bool margin) {
    p_.setPen(pen(QColor(30, 30, 30), 0.6));
    line(a, b);
    const QPointF d = b - a;
    const qreal len = std::hypot(d.x(), d.y());
    if (len > 0) {
        const QPointF n(-d.y() / len * 3 * pt_, d.x() / len * 3 * pt_);
        line(a - n, a + n);
        line(b - n, b + n);
    }
    setFont(7);
    const QSizeF size = margin ? textSize(label).transposed() : textSize(label);
    const QPointF mid = (a + b) / 2;
    const bool vertical = std::abs(d.x()) < std::abs(d.y());
    // Beside the middle, then slid along the line either way.
    const QPointF side = vertical ? QPointF(-size.width() - 1.5 * pt_, -size.height() / 2)
                                  : QPointF(-size.width() / 2, -size.height() - 1 * pt_);
    const QPointF along = vertical ? QPointF(0, size.height() / 2) : QPointF(size.width() / 2, 0);
    std::vector<QRectF> candidates;
    for (int k : {0, 1, -1, 2, -2})
        candidates.emplace_back(mid + side + k * along, size);
    const QPointF other =
        vertical ? QPointF(size.width() + 3 * pt_, 0) : QPointF(0, size.height() + 2 * pt_);
    for (int k : {0, 1, -1})
        candidates.emplace_back(mid + side + other + k * along, size);
    writeNear(candidates, label, mid, margin);
}

// Symbols of the section's quantities.
QString Symbol(Measure m, int rod) {
    const QString index = rod ? QString::number(rod) : QString();
    switch (m) {
    case Measure::H:
        return QStringLiteral("h") + index;
    case Measure::H0:
        return QStringLiteral("h0") + index;
    case Measure::Hx:
        return QStringLiteral("hx");
    case Measure::R0:
        return QStringLiteral("r0") + index;
    case Measure::Rx:
        return QStringLiteral("rx") + index;
    case Measure::L:
        return QStringLiteral("L");
    case Measure::Hc:
        return QStringLiteral("hc");
    }
    return {};
}

using Place = DimensionLine::Place;

// Heights in the margin (the second rod's on the right), lengths below the
// ground, radii and hc where they lie.
std::vector<DimensionLine> SectionDimensions(const ZoneSection& s, const std::string& sep) {
    std::vector<DimensionLine> lines;
    for (const Dimension& dim : s.dimensions) {
        Place place = Place::Where;
        if (dim.what == Measure::H || dim.what == Measure::H0 || dim.what == Measure::Hx)
            place = dim.rod == 2 ? Place::Right : Place::Left;
        else if (dim.what == Measure::R0 || dim.what == Measure::L)
            place = Place::Below;
        lines.push_back(
            {place,
             QStringLiteral("%1 = %2").arg(Symbol(dim.what, dim.rod),
                                           QString::fromStdString(FixedText(dim.value, 1, sep))),
             dim.from, dim.to});
    }
    return lines;
}

// From the plan's rods and cables: rx outward from each (the first only when
// they are alike), the distance L between two below or beside the plan, the
// span a below it, rcx midway between two rods.
std::vector<DimensionLine> PlanDimensions(const ZoneDrawing& d, const ZonePlan& plan,
                                          const std::string& sep) {
    const auto text = [&](const QString& symbol, double v) {
        return QStringLiteral("%1 = %2").arg(symbol, QString::fromStdString(FixedText(v, 1, sep)));
    };
    const auto q = [&](Quantity which) { return QuantityOf(d.zone, which); };
    const auto& c = plan.conductors;
    const auto middle = [](const PlanPiece& p) {
        return Point{(p.core.front().x + p.core.back().x) / 2,
                     (p.core.front().y + p.core.back().y) / 2};
    };
    std::vector<DimensionLine> lines;
    const bool unequal = q(Quantity::Rx1).has_value();
    for (size_t i = 0; i < c.size() && (unequal || i == 0); ++i) {
        const auto rx = unequal ? q(i == 0 ? Quantity::Rx1 : Quantity::Rx2) : q(Quantity::Rx);
        const Point m = middle(c[i]);
        const double outward = m.y < 0 ? -1 : 1;
        if (rx && *rx > 0)
            lines.push_back(
                {Place::Where,
                 text(unequal ? QStringLiteral("rx%1").arg(i + 1) : QStringLiteral("rx"), *rx),
                 m,
                 {m.x, m.y + outward * *rx}});
    }
    if (!c.empty() && c.front().core.size() == 2) {
        const Point from = c.front().core.front(), to = c.front().core.back();
        lines.push_back({Place::Below, text(QStringLiteral("a"), to.x - from.x), from, to});
    }
    if (c.size() == 2) {
        const Point m1 = middle(c[0]), m2 = middle(c[1]);
        const bool across = m1.x == m2.x;
        lines.push_back({across ? Place::Right : Place::Below,
                         text(QStringLiteral("L"), std::hypot(m2.x - m1.x, m2.y - m1.y)),
                         across ? c[0].core.back() : m1, across ? c[1].core.back() : m2});
        if (const auto rcx = q(Quantity::Rcx); rcx && *rcx > 0 && !across)
            lines.push_back({Place::Where, text(QStringLiteral("rcx"), *rcx), {0, 0}, {0, *rcx}});
    }
    return lines;
}

// The plan's dimension lines moved to the placement; turned, each is drawn
// where it lies.
std::vector<DimensionLine> Placed(std::vector<DimensionLine> lines, const Placement& placement) {
    for (DimensionLine& line : lines) {
        line.from = ToSite(placement, line.from);
        line.to = ToSite(placement, line.to);
        if (placement.angleDegrees != 0)
            line.place = Place::Where;
    }
    return lines;
}

Building BuildingOf(const BuildingSize& size) {
    return {size.width, size.length, size.height};
}

// The system's check at the building's height; its zone top that of the
// tallest rod.
std::optional<RoofVerdict> SystemRoofOf(const ZoneDrawing& d) {
    const SystemDrawing& s = *d.system;
    const auto verdict = SystemVerdictOf(s.rods, s.flags, BuildingOf(*d.building));
    const auto* v = std::get_if<RodSystemVerdict>(&verdict);
    if (!v || v->zone.rods.empty())
        return std::nullopt;
    const auto tallest = std::max_element(
        v->zone.rods.begin(), v->zone.rods.end(),
        [](const SingleRodResult& a, const SingleRodResult& b) { return a.h0 < b.h0; });
    return RoofVerdict{*tallest, v->zone.plan, v->check, v->uncovered};
}

std::optional<RoofVerdict> RoofOf(const ZoneDrawing& d) {
    if (!d.building)
        return std::nullopt;
    if (d.system)
        return SystemRoofOf(d);
    const ZoneKind kind = ZoneKindOf(d.zone);
    return RoofVerdictOf(d.code, d.inputs,
                         {kind == ZoneKind::A ? 1 : 0, kind == ZoneKind::B ? 1 : 0}, PlacementOf(d),
                         BuildingOf(*d.building));
}

Verdict VerdictFrom(const ZoneDrawing& d, const std::optional<RoofVerdict>& roof,
                    std::string_view separator) {
    if (!roof)
        return {QStringLiteral("Здание не нарисовано и не проверено: размеры здания на первой "
                               "странице не числа."),
                {},
                false,
                false};
    const HeightCheck check{
        d.building->height,
        ZoneTop(roof->zone),
        {roof->check.inside, roof->check.overshoot, roof->check.nothingProtected}};
    return {QString::fromStdString(HeightVerdictText(check, separator)),
            QString::fromStdString(HeightNoteText(check, InputsOf(d.code, d.inputs).hx, separator)),
            check.check.inside && !check.tallerThanZone(), true};
}

} // namespace

Placement PlacementOf(const ZoneDrawing& d) {
    if (d.placement)
        return *d.placement;
    return d.building ? DefaultPlacement(BuildingOf(*d.building)) : Placement{};
}

Verdict VerdictOf(const ZoneDrawing& d, std::string_view separator) {
    return VerdictFrom(d, RoofOf(d), separator);
}

ZoneDrawing SystemDrawingOf(SystemDrawing system, std::optional<BuildingSize> building) {
    ZoneDrawing d;
    d.building = building;
    const RodSystemZone& zone = system.zone;
    const double hx = system.hx;
    if (zone.criticalPair) {
        const RodPair& pair = zone.pairs[*zone.criticalPair];
        const Rod& a = system.rods[static_cast<std::size_t>(pair.first)];
        const Rod& b = system.rods[static_cast<std::size_t>(pair.second)];
        if (const auto* equal = std::get_if<DoubleRodResult>(&pair.zone)) {
            d.code = kDoubleRod;
            d.inputs = {a.h, pair.L, hx, 0};
            d.zone = *equal;
        } else {
            d.code = kUnequalRods;
            d.inputs = {a.h, b.h, pair.L, hx};
            d.zone = std::get<UnequalRodResult>(pair.zone);
        }
        d.placement = Placement{(a.x + b.x) / 2, (a.y + b.y) / 2,
                                std::atan2(b.y - a.y, b.x - a.x) * 180 / std::numbers::pi};
    } else if (!system.rods.empty()) {
        const Rod& rod = system.rods.front();
        d.code = kSingleRod;
        d.inputs = {rod.h, hx, 0, 0};
        d.zone = zone.rods.front();
        d.placement = Placement{rod.x, rod.y, 0};
    }
    d.system = std::move(system);
    return d;
}

ZoneFigure PrepareZoneFigure(const ZoneDrawing& drawing, std::string_view separator) {
    const Placement placement = PlacementOf(drawing);
    const ZonePlan local = PlanOf(drawing.inputs, drawing.zone);
    std::optional<RoofVerdict> roof = RoofOf(drawing);
    ZoneFigure f{drawing,
                 SectionOf(drawing.code, drawing.inputs, drawing.zone),
                 drawing.system ? drawing.system->zone.plan : Placed(local, placement),
                 {},
                 {},
                 {},
                 VerdictFrom(drawing, roof, separator),
                 std::move(roof),
                 std::string(separator),
                 {},
                 {}};
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
    f.sectionDimensions = SectionDimensions(f.section, f.separator);
    f.planDimensions = Placed(PlanDimensions(drawing, local, f.separator), placement);
    return f;
}

double PaintZoneDrawing(QPainter& painter, const QRectF& area, const ZoneFigure& figure,
                        const PaintOptions& options) {
    return Painter(painter, figure, options).paint(area);
}

void PaintNoDrawing(QPainter& painter, const QRectF& area, const QString& why) {
    painter.save();
    painter.fillRect(area, Qt::white);
    painter.setFont(DrawingFont(10));
    painter.setPen(QColor(90, 90, 90));
    painter.drawText(area.adjusted(20, 20, -20, -20), Qt::AlignCenter | Qt::TextWordWrap, why);
    painter.restore();
}

QImage RenderZoneDrawing(const ZoneFigure& drawing, QSize size, int dpi,
                         const PaintOptions& options) {
    QImage image(size, QImage::Format_RGB32); // opaque: white under everything
    const int perMetre = static_cast<int>(std::lround(dpi / 0.0254));
    image.setDotsPerMeterX(perMetre);
    image.setDotsPerMeterY(perMetre);
    image.fill(Qt::white);
    QPainter painter(&image);
    PaintZoneDrawing(painter, QRectF(QPointF(0, 0), QSizeF(size)), drawing, options);
    return image;
}

} // namespace vostrel
