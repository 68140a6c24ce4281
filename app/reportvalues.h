// What the report and the drawing take from a design: the model, never the
// window's fields.
#pragma once

#include "design/design.h"
#include "drawing/zonedrawing.h"
#include "report/report.h"
#include "ui/conversions.h"

#include <QString>
#include <optional>

namespace vostrel {

// The building's dimensions when all three texts are numbers.
std::optional<BuildingSize> BuildingSizeOf(const Design& design, const NumberText& numbers);

// The drawing of the last completed calculation of the design's rod type.
std::optional<ZoneDrawing> DrawingOf(const Design& design, const NumberText& numbers);

// The text a replacement of the report inserts; the verdict comes from
// `figure`, the report's drawing of the zone (none without a calculation).
QString ReportText(const Design& design, ReportValue value, const ZoneFigure* figure,
                   const NumberText& numbers);

} // namespace vostrel
