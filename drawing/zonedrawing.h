// The drawing of a protection zone: its vertical section and its plan at the
// height hx, each to scale with a grid and a scale bar, the building in both,
// dimensions, a legend and the verdict on the building. One routine paints
// it onto any device: the window, an image, an SVG or a PDF.
#pragma once

#include "calc/rodtypes.h"

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QPainterPath>
#include <QRectF>
#include <QString>
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

// What the drawing shows: the last completed calculation and the building.
struct ZoneDrawing {
    std::int32_t code = 0; // rod type
    ZoneInputs inputs{};   // in the order of the rod type's rows
    RodZone zone;
    std::optional<BuildingSize> building; // none when a dimension is not a number
};

// The verdict on the building, and whether it is in the zone.
struct Verdict {
    QString text;
    bool inside = false;
    bool checked = false; // false: the building could not be checked
};
Verdict VerdictOf(const ZoneDrawing& drawing, std::string_view decimalSeparator);

// A drawing with its geometry worked out once: the window repaints it at
// every size from these.
struct ZoneFigure {
    ZoneDrawing drawing;
    ZoneSection section;
    ZonePlan plan;
    std::vector<std::vector<Point>> outlines; // of each piece of the plan
    std::vector<Segment> boundary;            // of the plan's union
    QPainterPath planFill;                    // the union, in metres
    Verdict verdict;
    std::string separator; // decimal separator of every number shown
};
ZoneFigure PrepareZoneFigure(const ZoneDrawing& drawing, std::string_view decimalSeparator);

// Fill colours of zone A and zone B.
inline const QColor kZoneAColour(66, 133, 214);
inline const QColor kZoneBColour(236, 150, 40);

// Paints the whole drawing into `area` (device coordinates of `painter`).
// Sizes of text and lines follow the device's resolution, so that it reads
// alike on a screen and on a 300 dpi image.
void PaintZoneDrawing(QPainter& painter, const QRectF& area, const ZoneFigure& figure);

// The drawing as an image of `size` pixels at `dpi`.
QImage RenderZoneDrawing(const ZoneFigure& figure, QSize size, int dpi);

// The image as PNG, in a palette of its colours: a drawing of a few colours
// and their blends loses nothing visible and is written many times faster.
QByteArray DrawingPng(const QImage& image);

} // namespace vostrel
