// Zone drawing window: the section and the plan of the last completed
// calculation with the building and the verdict, redrawn at any size, and
// saved as PNG, SVG or a PDF drawing sheet. Beside it the rods' placement on
// the site plan, typed, and the verdict for it as a line of text.
#pragma once

#include "calc/outcome.h"
#include "drawing/export.h"
#include "drawing/zonedrawing.h"
#include "ui/form.h"

#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;

namespace vostrel {

class RodTable;

class TForm8 final : public Form {
    Q_OBJECT
public:
    explicit TForm8(Services& services);

    // Shows `drawing` in the window, over `owner`; `object` is the building
    // type the sheet's title block names.
    void showDrawing(const ZoneDrawing& drawing, const QString& object, const QWidget* owner);
    // Puts `drawing` in the window, shown or not, and enables "Сохранить…".
    void setDrawing(const ZoneDrawing& drawing, const QString& object);
    // No drawing: the line `why` in its place and "Сохранить…" disabled.
    void clearDrawing(const QString& why);
    bool hasDrawing() const { return figure_.has_value(); }
    const ZoneFigure* figure() const { return figure_ ? &*figure_ : nullptr; }

    // Writes the drawing to `file` in the format of its suffix, a PDF as
    // `pdf` (A4 or A3), or gives the reason it could not. Nothing
    // half-written is left.
    Outcome<void, QString> save(const QString& file,
                                DrawingFormat pdf = DrawingFormat::PdfA4) const;

    QWidget* Image1;      // the drawing
    QPushButton* Button1; // "Сохранить…"
    QLineEdit* Edit1;     // the placement's x, m: "x, м"
    QLineEdit* Edit2;     // its y, m: "y, м"
    QLineEdit* Edit3;     // the rods' axis against x, degrees: "Угол, °"
    QLabel* Label4;       // the verdict, read as "Вывод"
    QPushButton* Button2; // "Подобрать высоту" (heightpick.cpp)
    RodTable* RodTable1;  // a system's rods and its results (rod type 6), else hidden

    // Shows the rods' table in place of the placement (rod type 6) or hides it.
    void showRodTable(bool shown);

signals:
    // The user has typed a placement; the drawing already shows it.
    void placementChanged(const vostrel::Placement& placement);
    // The user has accepted `height` (m) for the rod page's input row `row`
    // (from 0): the least that protects the building as placed.
    void heightChosen(int row, double height);
    // A rod of a system (index from 0) dragged in the plan to `at`, m,
    // rounded to 0,1 m.
    void rodDragged(int index, vostrel::Point at);

private:
    void Button1Click();
    void Button2Click();
    void placementEdited();
    void movePlacement(Point by, double turnDegrees); // dragged or turned in the plan
    void place(const Placement& placement);
    bool placeable() const; // a building drawn and not a system: the placement may change
    void showPlacement();
    SheetInscription inscription() const;

    std::optional<ZoneFigure> figure_;
    QString why_;        // shown in place of a drawing
    QString object_;     // the building type
    QString lastFolder_; // where the last drawing of this run was saved
    int lastFilter_ = 0; // and in which of the formats
};

} // namespace vostrel
