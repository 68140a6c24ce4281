// Zone drawing window: the section and the plan of the last completed
// calculation with the building and the verdict, redrawn at any size, and
// saved as PNG, SVG or PDF.
#pragma once

#include "ui/form.h"
#include "drawing/zonedrawing.h"

class QPushButton;

namespace vostrel {

// Size of a saved drawing, mm, and the resolution of a saved PNG.
inline constexpr QSizeF kDrawingMm(250, 160);
inline constexpr int kPngDpi = 300;

class TForm8 final : public Form {
    Q_OBJECT
public:
    explicit TForm8(Services& services);

    // Shows `drawing` in the window, over `owner`.
    void showDrawing(const ZoneDrawing& drawing, const QWidget* owner);
    // Writes the drawing to `file` in the format of its suffix; the reason
    // it could not, empty on success. Nothing half-written is left.
    QString save(const QString& file) const;

    QWidget* Image1;      // the drawing
    QPushButton* Button1; // "Сохранить…"

private:
    void Button1Click();

    ZoneFigure figure_;
};

} // namespace vostrel
