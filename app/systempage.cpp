// A system of several rods (rod type 6) on the main window: its rods kept in
// the plan window's table, "Расчёт" of its zone and the counts on the rod
// page.
#include "app/unit3.h"
#include "calc/numtext.h"
#include "windows/rodtable.h"
#include "windows/unit8.h"

#include <QLineEdit>
#include <QPushButton>
#include <optional>

namespace vostrel {

namespace {
// Shortest text of a default coordinate or height, with the user's separator.
QString DefaultText(double value, const NumberText& numbers) {
    QString text = numbers.fixed(value, 2);
    const QString separator = QString::fromStdString(numbers.decimalSeparatorUtf8());
    while (text.endsWith(QLatin1Char('0')) && text.contains(separator))
        text.chop(1);
    if (text.endsWith(separator))
        text.chop(separator.size());
    return text;
}

// The rods as numbers; a text that is not one gives the message naming the
// rod, the field and why.
std::optional<std::vector<Rod>> RodNumbers(const std::vector<RodText>& texts,
                                           const NumberText& numbers, QString& why) {
    std::vector<Rod> rods;
    for (size_t i = 0; i < texts.size(); ++i) {
        const std::pair<const std::string*, const char*> fields[] = {
            {&texts[i].x, "x"}, {&texts[i].y, "y"}, {&texts[i].h, "h"}};
        double values[3];
        for (size_t k = 0; k < std::size(fields); ++k) {
            try {
                values[k] = numbers.toFloat(QString::fromStdString(*fields[k].first));
            } catch (const ConversionError& e) {
                why = QStringLiteral("Молниеотвод № %1, поле «%2»: %3")
                          .arg(i + 1)
                          .arg(QLatin1String(fields[k].second), QString::fromUtf8(e.what()));
                return std::nullopt;
            }
        }
        rods.push_back({values[0], values[1], values[2]});
    }
    return rods;
}
} // namespace

std::vector<RodText> TForm1::systemRods() const {
    std::vector<RodText> rods;
    for (const RodRow& row : Form8->RodTable1->rods())
        rods.push_back({row.x.toStdString(), row.y.toStdString(), row.h.toStdString()});
    return rods;
}

void TForm1::setSystemRods(const std::vector<RodText>& rods) {
    std::vector<RodRow> rows;
    for (const RodText& rod : rods)
        rows.push_back({QString::fromStdString(rod.x), QString::fromStdString(rod.y),
                        QString::fromStdString(rod.h)});
    Form8->RodTable1->setRods(rows);
}

// A new design of a system starts with four rods at the building's corners.
void TForm1::startSystem() {
    Form8->showRodTable(design_.rodType == kRodSystem);
    if (design_.rodType != kRodSystem)
        return;
    Button2->setEnabled(false); // the report follows a calculation
    if (!Form8->RodTable1->rods().empty())
        return;
    const Building building{numbers().toFloat(Edit1->text()), numbers().toFloat(Edit2->text()),
                            numbers().toFloat(Edit3->text())};
    std::vector<RodText> rods;
    for (const Rod& rod : DefaultRods(building))
        rods.push_back({DefaultText(rod.x, numbers()).toStdString(),
                        DefaultText(rod.y, numbers()).toStdString(),
                        DefaultText(rod.h, numbers()).toStdString()});
    setSystemRods(rods);
}

// "Расчёт" of a system: hx and the rods converted and checked, then the zone;
// a refusal computes and changes nothing.
void TForm1::calculateSystem() {
    if (const std::optional<QString> why = computeSystem())
        message(*why);
}

// A rod dragged in the plan: its row rewritten, the zone and the verdict
// recomputed without a word; a refused place leaves the last zone shown.
void TForm1::dragSystemRod(int index, Point at) {
    const QString x = numbers().fixed(at.x, 1), y = numbers().fixed(at.y, 1);
    const std::vector<RodRow> rows = Form8->RodTable1->rods();
    if (index < 0 || static_cast<size_t>(index) >= rows.size() ||
        (rows[static_cast<size_t>(index)].x == x && rows[static_cast<size_t>(index)].y == y))
        return; // not a tenth of a metre yet: nothing to redo
    Form8->RodTable1->moveRod(index, x, y);
    if (!Button6->isEnabled())
        return; // no zone computed yet: "Расчёт" first
    try {
        computeSystem();
    } catch (const ConversionError&) { // hx not a number: "Расчёт" says so
    }
}

// The system's zone from hx and the rods, shown; or why they are refused,
// nothing computed or changed.
std::optional<QString> TForm1::computeSystem() {
    const double hx = numbers().toFloat(Edit8->text());
    const std::vector<RodText> texts = systemRods();
    QString why;
    std::optional<std::vector<Rod>> rods = RodNumbers(texts, numbers(), why);
    if (!rods)
        return why;
    const ZoneFlags flags{design_.zoneA, design_.zoneB};
    RodSystemOutcome outcome = SystemZoneOf(*rods, hx, flags);
    if (const auto* error = std::get_if<RodInputError>(&outcome))
        return QString::fromStdString(error->message);
    RodSystemZone& zone = std::get<RodSystemZone>(outcome);
    Form8->RodTable1->showResults(zone, numbers());
    Edit13->setText(QStringLiteral("  %1").arg(zone.rods.size()));
    Edit14->setText(QStringLiteral("  %1").arg(zone.pairs.size()));
    // A lone rod has no pair; pairs all farther than their limit are single.
    Edit15->setText(zone.leastRcx        ? QStringLiteral("  ") + numbers().fixed(*zone.leastRcx, 1)
                    : zone.pairs.empty() ? QString()
                                         : QStringLiteral("  одиночные"));
    design_.completed.reset();
    design_.system = SystemCalculation{texts, Edit8->text().toStdString(), std::move(*rods), hx,
                                       std::move(zone)};
    Button2->setEnabled(true);
    Button6->setEnabled(true);
    refreshDrawing();
    return std::nullopt;
}

} // namespace vostrel
