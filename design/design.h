// One lightning-protection design, window-free: the building page's texts,
// the thunderstorm class, the building type and its zone, the rod type, the
// rod page's inputs and the last completed calculation of each rod type.
// Texts are kept as the user typed them, with the user's decimal separator.
#pragma once

#include "calc/placement.h"
#include "calc/rodsystem.h"
#include "calc/rodtypes.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vostrel {

// The building type confirmed in the catalogue and what it put on the page.
struct BuildingType {
    std::int32_t code = 0;
    std::string building; // "Здания и сооружения"
    std::string location; // "Местоположение"
    std::string category; // "Категория молниезащиты"
    std::string zone;     // the zone letter as shown
};

// What the N shown was computed from: the building's width, length and height
// (m) and the strike density of the map's class.
struct StrikeBasis {
    double S = 0, L = 0, h = 0, n = 0;
};

// A completed calculation: its rod type, the inputs as numbers and as the
// texts they came from, and the zone.
struct Calculation {
    std::int32_t code = 0;
    ZoneInputs inputs{};
    std::vector<std::string> texts;
    RodZone zone;
};

// A rod of a system (rod type 6) as typed in the plan window's table.
struct RodText {
    std::string x, y, h;

    bool operator==(const RodText&) const = default;
};

// A completed calculation of a system: the texts it came from, the rods and
// hx as numbers, and the zone at hx.
struct SystemCalculation {
    std::vector<RodText> texts;
    std::string hxText;
    std::vector<Rod> rods;
    double hx = 0;
    RodSystemZone zone;
};

struct Design {
    std::array<std::string, 3> building;    // width S, length L, height h (m)
    std::optional<int> thunderstormHours;   // the map legend's class of N
    std::string strikes;                    // N as shown
    std::optional<StrikeBasis> strikeBasis; // what that N was computed from
    std::optional<BuildingType> buildingType;
    std::int32_t zoneA = 0, zoneB = 0; // the zone flags the rod page uses
    // The rod type code kept: taken from the list at "Далее>>" (the rod
    // page's layout) or "Высота молниеотвода"; 0 before.
    std::int32_t rodType = 0;
    std::int32_t listRodType = 0;       // the list's pick now; 0 for none
    std::vector<std::string> rodInputs; // the rod page's visible inputs, in row order
    std::array<std::string, 6> results; // the rod page's result rows as shown
    // The rods' place on the site plan as typed in the drawing window, kept
    // across calculations; none: centred over the building.
    std::optional<Placement> placement;
    std::vector<RodText> rods; // a system's rods as typed (rod type 6)

    std::optional<SystemCalculation> system; // the last completed calculation of a system

    std::optional<Calculation> completed; // the last completed calculation
    RodZones zones;                       // the last result of each rod type
    double rx2 = 0, r02 = 0;              // 2rx and 2r0 of the last calculation

    // The last calculation when it is of the rod type chosen now.
    const Calculation* completedOfThisType() const;
    // The rod page shows a completed calculation of its inputs as they are.
    bool calculated() const;
    // A calculation was completed, but not of the rod page's inputs as they are.
    bool changedSinceCalculation() const { return completed && !calculated(); }
    // Keeps a completed calculation of rod type `code`.
    void complete(std::int32_t code, const ZoneInputs& inputs, std::vector<std::string> texts,
                  const RodZone& zone);
};

} // namespace vostrel
