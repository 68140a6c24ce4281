// The drawing written as a file: a 300 dpi true-colour PNG or a 96 dpi SVG
// of 250 x 160 mm, or a PDF drawing sheet (A4 or A3, landscape) with a
// frame and a title block.
#pragma once

#include "drawing/zonedrawing.h"

#include <QDate>
#include <QSizeF>
#include <QString>

class QIODevice;

namespace vostrel {

// Size of a saved PNG and SVG, mm, and the resolution of a saved PNG.
inline constexpr QSizeF kDrawingMm(250, 160);
inline constexpr int kPngDpi = 300;

enum class DrawingFormat { Png, Svg, PdfA4, PdfA3 };

// What the title block of a sheet says beside the drawing.
struct SheetInscription {
    QString name;   // the drawing's name
    QString object; // the building type
    QDate date;
};

// "двойной стержневой" and the like: the rod type in a drawing's name.
QString RodTypeName(std::int32_t code);

// Writes `figure` in `format` to `out`; false when painting or writing failed.
bool WriteDrawing(QIODevice& out, DrawingFormat format, const ZoneFigure& figure,
                  const SheetInscription& sheet);

// Paints the sheet: the frame, the title block and the drawing at a scale of
// the standard series; `area` is the whole page in device units.
void PaintSheet(QPainter& painter, const QRectF& page, const ZoneFigure& figure,
                const SheetInscription& sheet);

} // namespace vostrel
