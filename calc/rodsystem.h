// A system of several rods (rod type 6) standing anywhere on the site plan:
// its zone as that of the neighbouring pairs, and the check of its rods.
//
// Neighbouring pairs are the edges of the Delaunay graph of the rods'
// positions (delaunay.h; rods on one line: each with the next along it). A
// pair of equal heights takes the formulas of two equal rods (DoubleRodZone),
// one of different heights those of unequal rods (UnequalRodZone); a pair
// beyond its limit (4h or 6h; 4hmin or 6hmin) counts as two single rods.
//
// The plan at the height hx is the union of each rod's circle of radius rx,
// each joined pair's waist (as the plan of two rods, laid along the pair)
// and the inside of every bounded face of the graph of the pairs with
// rcx > 0 at hx: the cells of the Delaunay graph that no chain of cells
// across pairs without rcx > 0 links to the outside. Four rods at the
// corners of a rectangle thus protect the whole rectangle when its four
// sides have rcx > 0, whatever its diagonal has.
#pragma once

#include "calc/delaunay.h"
#include "calc/outcome.h"
#include "calc/rodtypes.h"
#include "calc/rodzones.h"
#include "calc/roofcheck.h"
#include "calc/zone.h"

#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace vostrel {

inline constexpr std::int32_t kRodSystem = 6; // the rod type code of a system

// The limits of a system's input.
inline constexpr std::size_t kMostRods = 100;
inline constexpr double kFarthestRod = 10000;    // |x|, |y| at most, m
inline constexpr double kLeastRodDistance = 0.1; // between two rods, m

// A rod in site coordinates; h its height.
struct Rod {
    double x = 0, y = 0, h = 0;

    friend bool operator==(const Rod&, const Rod&) = default;
};

// A new system's rods: four of 20 m, 2 m outside the building's corners,
// counter-clockwise from the origin's corner.
std::vector<Rod> DefaultRods(const Building& building);

// A neighbouring pair: rods `first` < `second` (indices into the rods), L
// apart. `zone` holds the two-rod result with `first` as rod 1: a
// DoubleRodResult for equal heights, an UnequalRodResult otherwise.
struct RodPair {
    int first = 0, second = 0;
    double L = 0;
    std::variant<DoubleRodResult, UnequalRodResult> zone;

    PairCase pairCase() const; // Single: counted as two single rods
    double hc() const;         // 0 when single
    double rc() const;         // 0 when single
    double rcx() const;        // 0 when single
    bool joined() const;       // not single and rcx > 0: its waist and faces protect
};

struct RodSystemZone {
    std::vector<SingleRodResult> rods; // h0, r0, rx of each rod at hx
    std::vector<RodPair> pairs;
    ZonePlan plan; // site coordinates
    // The pair that is not single with the least rcx, and that rcx; when
    // every pair is single, the shortest pair and no rcx; none without pairs.
    // The section view shows this pair (PairSectionOf).
    std::optional<std::size_t> criticalPair;
    std::optional<double> leastRcx;
    ZoneKind zone = ZoneKind::None;
};

// What is wrong with a system's input, the first fault found: its message
// names the rod(s) and the field. rod and other are 1-based numbers, 0 when
// they do not apply.
struct RodInputError {
    enum class Field { Count, X, Y, H, Position };
    Field field = Field::Count;
    int rod = 0, other = 0;
    std::string message;
};

// Checks, in this order: at least one rod and at most kMostRods; for each
// rod, x, y within ±kFarthestRod and h above 0 and at most kMaxRodHeight (a
// value that is not a finite number fails its field); then every two rods at
// least kLeastRodDistance apart.
Outcome<void, RodInputError> CheckRods(const std::vector<Rod>& rods);

// The zone at the height hx for rods already checked and the Delaunay graph
// of their positions (PositionsOf), which the height search computes once.
RodSystemZone SystemZone(const std::vector<Rod>& rods, const DelaunayGraph& graph, double hx,
                         ZoneFlags flags);
std::vector<Point> PositionsOf(const std::vector<Rod>& rods);

// The rods checked, then their zone at hx; nothing is computed for a bad
// input.
using RodSystemOutcome = std::variant<RodSystemZone, RodInputError>;
RodSystemOutcome SystemZoneOf(const std::vector<Rod>& rods, double hx, ZoneFlags flags);

// The vertical section through a pair, its first rod on the left.
ZoneSection PairSectionOf(const std::vector<Rod>& rods, const RodPair& pair, double hx);

// The system's verdict for the building at its own height: the zone at
// hx = the building's height, the roof checked against its plan (see
// placement.h's RoofVerdict: nothing protected when h reaches every rod's
// zone top). A bad input gives its error and no verdict.
struct RodSystemVerdict {
    RodSystemZone zone; // at hx = h
    RoofCheck check;
    Uncovered uncovered; // empty when inside
};
std::variant<RodSystemVerdict, RodInputError>
SystemVerdictOf(const std::vector<Rod>& rods, ZoneFlags flags, const Building& building);

} // namespace vostrel
