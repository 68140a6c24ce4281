#include "delaunay.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <utility>

namespace vostrel {

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

// Whether an empty circle passes through a and b: its centre m + t·n on the
// bisector must keep every other point outside, which bounds t from above
// for a point left of a→b and from below for one right of it. A point on
// the segment itself rules the pair out; one on the line beyond it does not
// constrain t. Ties (points on a common circle) count as not empty.
bool EmptyCircle(const std::vector<Point>& points, std::size_t a, std::size_t b) {
    const Point p = points[a], q = points[b];
    const double dx = q.x - p.x, dy = q.y - p.y, len = std::hypot(dx, dy);
    if (!(len > kOnLine))
        return false;
    const double ux = dx / len, uy = dy / len, nx = -uy, ny = ux;
    const double mx = (p.x + q.x) / 2, my = (p.y + q.y) / 2, half2 = len * len / 4;
    double lo = -kInfinity, hi = kInfinity;
    for (std::size_t k = 0; k < points.size(); ++k) {
        if (k == a || k == b)
            continue;
        const double vx = points[k].x - mx, vy = points[k].y - my;
        const double side = vx * nx + vy * ny;
        if (std::fabs(side) <= kOnLine) {
            if (std::fabs(vx * ux + vy * uy) < len / 2)
                return false;
            continue;
        }
        const double t = (vx * vx + vy * vy - half2) / (2 * side);
        if (side > 0)
            hi = std::min(hi, t);
        else
            lo = std::max(lo, t);
        if (!(lo < hi))
            return false;
    }
    const double scale = std::max({1.0, std::fabs(lo) < kInfinity ? std::fabs(lo) : 0.0,
                                   std::fabs(hi) < kInfinity ? std::fabs(hi) : 0.0});
    return hi - lo > 1e-9 * scale;
}

// The faces of the planar graph, traced with each face on the left of its
// sides: arriving at v from u, the walk leaves by the edge next clockwise
// from v→u. The faces of positive area are the bounded cells.
void TraceCells(const std::vector<Point>& points, DelaunayGraph& graph) {
    const std::size_t n = points.size();
    std::vector<std::vector<int>> around(n);
    std::map<std::pair<int, int>, int> edgeOf;
    for (std::size_t e = 0; e < graph.edges.size(); ++e) {
        const auto [i, j] = graph.edges[e];
        around[static_cast<std::size_t>(i)].push_back(j);
        around[static_cast<std::size_t>(j)].push_back(i);
        edgeOf[{i, j}] = edgeOf[{j, i}] = static_cast<int>(e);
    }
    const auto angle = [&](int from, int to) {
        const Point a = points[static_cast<std::size_t>(from)],
                    b = points[static_cast<std::size_t>(to)];
        return std::atan2(b.y - a.y, b.x - a.x);
    };
    for (std::size_t v = 0; v < n; ++v)
        std::sort(around[v].begin(), around[v].end(), [&](int a, int b) {
            return angle(static_cast<int>(v), a) < angle(static_cast<int>(v), b);
        });
    std::map<std::pair<int, int>, int> faceOf; // directed side -> cell, −1 for other faces
    for (const auto& [side, e] : edgeOf) {
        if (faceOf.count(side))
            continue;
        DelaunayGraph::Cell cell;
        double area = 0;
        std::vector<std::pair<int, int>> sides;
        for (auto s = side; sides.empty() || s != side;) {
            sides.push_back(s);
            const auto [u, v] = s;
            const std::vector<int>& ring = around[static_cast<std::size_t>(v)];
            const auto at = std::find(ring.begin(), ring.end(), u) - ring.begin();
            const int w =
                ring[static_cast<std::size_t>((at + static_cast<std::ptrdiff_t>(ring.size()) - 1) %
                                              static_cast<std::ptrdiff_t>(ring.size()))];
            const Point a = points[static_cast<std::size_t>(u)],
                        b = points[static_cast<std::size_t>(v)];
            area += a.x * b.y - a.y * b.x;
            cell.vertices.push_back(u);
            cell.edges.push_back(edgeOf[s]);
            s = {v, w};
        }
        const int index = area > 0 ? static_cast<int>(graph.cells.size()) : -1;
        for (const auto& s : sides)
            faceOf[s] = index;
        if (index >= 0)
            graph.cells.push_back(std::move(cell));
    }
    for (auto& cell : graph.cells)
        for (std::size_t k = 0; k < cell.vertices.size(); ++k) {
            const int u = cell.vertices[k], v = cell.vertices[(k + 1) % cell.vertices.size()];
            cell.across.push_back(faceOf[{v, u}]);
        }
}

} // namespace

DelaunayGraph Delaunay(const std::vector<Point>& points) {
    DelaunayGraph graph;
    for (std::size_t i = 0; i < points.size(); ++i)
        for (std::size_t j = i + 1; j < points.size(); ++j)
            if (EmptyCircle(points, i, j))
                graph.edges.push_back({static_cast<int>(i), static_cast<int>(j)});
    TraceCells(points, graph);
    return graph;
}

} // namespace vostrel
