// Which points of a plane set are neighbours: the Delaunay graph, and the
// cells it divides the points' convex hull into.
#pragma once

#include "calc/zonegeometry.h"

#include <vector>

namespace vostrel {

// Points closer to a line than this count as lying on it.
inline constexpr double kOnLine = 1e-6;

struct DelaunayGraph {
    // Two points are neighbours when some circle through both has no point
    // inside it or on it. Four or more points on one circle are joined only
    // round the circle, never across it; points on one line only to the
    // next along it.
    struct Edge {
        int first = 0, second = 0; // first < second
    };
    // A bounded cell: a convex polygon, counter-clockwise. Its side k runs
    // from vertices[k] to vertices[k + 1] (the last to the first); it is
    // edges[k] of the graph, and across[k] is the cell on its other side
    // (−1 outside the hull).
    struct Cell {
        std::vector<int> vertices;
        std::vector<int> edges;
        std::vector<int> across;
    };
    std::vector<Edge> edges;
    std::vector<Cell> cells; // none when all the points lie on one line
};

// The graph of `points`, which must be distinct (points closer than kOnLine
// are never joined). O(n³): meant for the hundred rods of a rod system.
DelaunayGraph Delaunay(const std::vector<Point>& points);

} // namespace vostrel
