// The drawing of a protection zone: its vertical section and its plan at the
// height hx, each to scale with a grid and a scale bar, the building in both,
// dimensions, a legend and the verdict on the building. One routine paints
// it onto any device: the window, an image, an SVG or a PDF.
#pragma once

#include "calc/placement.h"
#include "calc/rodsystem.h"
#include "calc/rodtypes.h"

#include <QColor>
#include <QImage>
#include <QPainterPath>
#include <QRectF>
#include <QString>
#include <QTransform>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class QPainter;

namespace vostrel {

// A building's plan and height, m.
struct BuildingSize {
    double width;  // across the rods' axis (across the cable)
    double length; // along it
    double height;
};

// A system of rods (rod type 6) as drawn: its rods, hx, the zone flags and
// its zone at hx.
struct SystemDrawing {
    std::vector<Rod> rods;
    double hx = 0;
    ZoneFlags flags;
    RodSystemZone zone;
};

// What the drawing shows: the last completed calculation and the building.
struct ZoneDrawing {
    std::int32_t code = 0; // rod type
    ZoneInputs inputs{};   // in the order of the rod type's rows
    RodZone zone;
    std::optional<BuildingSize> building; // none when a dimension is not a number
    // Where the rods stand on the site plan; none: centred over the building,
    // along its length.
    std::optional<Placement> placement = std::nullopt;
    // A system: its plan and verdict replace the rod type's; code, inputs,
    // zone and placement are then those of the pair the section shows.
    std::optional<SystemDrawing> system = std::nullopt;
};

// The drawing of a system of checked rods with its zone at hx: the section
// through the pair with the least rcx (when every pair is single, the
// shortest; a lone rod's own), placed along that pair.
ZoneDrawing SystemDrawingOf(SystemDrawing system, std::optional<BuildingSize> building);

// The placement the drawing shows: its own, else the centred one.
Placement PlacementOf(const ZoneDrawing& drawing);

// The verdict on the building as placed, checked at its own height, and
// whether it is in the zone; `note` says, when hx differs from that height, what the check
// there found beside the plan at hx.
struct Verdict {
    QString text;
    QString note;
    bool inside = false;
    bool checked = false; // false: the building could not be checked
};
Verdict VerdictOf(const ZoneDrawing& drawing, std::string_view decimalSeparator);

// A dimension line with its label, in metres of its view. `Where` lines are
// drawn where they lie; the others are moved to the view's edge (the box
// round the drawing) and stacked there: below it, or as vertical lines in
// the left or right margin with a leader from the measured end `to`.
struct DimensionLine {
    enum class Place { Where, Below, Left, Right };
    Place place = Place::Where;
    QString label;
    Point from, to;
};

// A drawing with its geometry worked out once: the window repaints it at
// every size from these. The plan view is in site coordinates (the building
// [0, L] × [0, S]), the rods moved to the placement.
struct ZoneFigure {
    ZoneDrawing drawing;
    ZoneSection section;
    ZonePlan plan;
    std::vector<std::vector<Point>> outlines; // of each piece of the plan
    std::vector<Segment> boundary;            // of the plan's union
    QPainterPath planFill;                    // the union, in metres
    Verdict verdict;
    // The check of the roof at the building's height; none without a building.
    std::optional<RoofVerdict> roof;
    std::string separator; // decimal separator of every number shown
    std::vector<DimensionLine> sectionDimensions, planDimensions;
};
ZoneFigure PrepareZoneFigure(const ZoneDrawing& drawing, std::string_view decimalSeparator);

// Fill colours of zone A and zone B.
inline const QColor kZoneAColour(66, 133, 214);
inline const QColor kZoneBColour(236, 150, 40);

// How a drawing is painted beyond the figure itself.
struct PaintOptions {
    // Both views at one scale of the standard series (1:100, 1:200, ...),
    // the largest at which both fit, as a drawing sheet needs.
    bool standardScale = false;
    // When set, receives the box of every text painted, in device units.
    std::vector<QRectF>* texts = nullptr;
    // When set, receives the frame of each view, in device units.
    std::vector<QRectF>* frames = nullptr;
    // When set, receives the plan view's map of metres to device units.
    QTransform* plan = nullptr;
};

// Paints the whole drawing into `area` (device coordinates of `painter`).
// Sizes of text and lines follow the device's resolution, so that it reads
// alike on a screen and on a 300 dpi image. Gives the denominator of the
// scale of the views (of the smaller one when they differ), per metre of the
// device's resolution.
double PaintZoneDrawing(QPainter& painter, const QRectF& area, const ZoneFigure& figure,
                        const PaintOptions& options = {});

// Paints the line `why` in place of a drawing (none to show).
void PaintNoDrawing(QPainter& painter, const QRectF& area, const QString& why);

// The drawing as an opaque image (QImage::Format_RGB32) of `size` pixels at
// `dpi`.
QImage RenderZoneDrawing(const ZoneFigure& figure, QSize size, int dpi,
                         const PaintOptions& options = {});

// The image as a true-colour PNG (RGB, the colours exactly as painted, its
// resolution kept), empty when it could not be written. An image with an
// alpha channel is taken as opaque.
QByteArray DrawingPng(const QImage& image);

} // namespace vostrel
