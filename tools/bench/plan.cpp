// The plan of a rod system, timed (not a test): 50 rods 2 m outside a
// 100 x 60 x 10 m building, zone Б, evenly round it or leaving a gap of 40 m
// on one side. Prints the medians of 21 runs of the zone plan with the
// verdict (and, where the roof is not inside, the worst point and the
// uncovered parts) and of the search for the least common height; and the
// search for the least height of a single rod and of a double catenary.
#include "calc/heightsearch.h"
#include "calc/rodsystem.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <functional>
#include <variant>
#include <vector>

using namespace vostrel;

namespace {

constexpr int kRuns = 21;
const Building kBuilding{60, 100, 10};
constexpr ZoneFlags kZoneB{0, 1};

// n rods evenly round the rectangle 2 m outside the building, leaving out
// `gap` metres of it in the middle of the far long side.
std::vector<Rod> RodsAround(int n, double h, double gap) {
    const double x0 = -2, y0 = -2, w = kBuilding.length + 4, d = kBuilding.width + 4;
    const double ring = 2 * (w + d), gapFrom = w + d + (w - gap) / 2;
    std::vector<Rod> rods;
    for (int i = 0; i < n; ++i) {
        double s = (ring - gap) * i / n;
        if (s >= gapFrom)
            s += gap;
        if (s < w)
            rods.push_back({x0 + s, y0, h});
        else if ((s -= w) < d)
            rods.push_back({x0 + w, y0 + s, h});
        else if ((s -= d) < w)
            rods.push_back({x0 + w - s, y0 + d, h});
        else
            rods.push_back({x0, y0 + d - (s - w), h});
    }
    return rods;
}

// Medians of the wall-clock time and of the thread's CPU time, ms: on a
// busy machine the second is the fairer figure.
struct Times {
    double wall = 0, cpu = 0;
};

double CpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

Times Median(const std::function<void()>& run) {
    std::vector<double> wall, cpu;
    for (int i = 0; i < kRuns; ++i) {
        const auto start = std::chrono::steady_clock::now();
        const double cpuStart = CpuMs();
        run();
        cpu.push_back(CpuMs() - cpuStart);
        wall.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
    }
    std::sort(wall.begin(), wall.end());
    std::sort(cpu.begin(), cpu.end());
    return {wall[wall.size() / 2], cpu[cpu.size() / 2]};
}

void Verdict(const char* what, const std::vector<Rod>& rods) {
    RodSystemVerdict last;
    const Times t = Median(
        [&] { last = std::get<RodSystemVerdict>(SystemVerdictOf(rods, kZoneB, kBuilding)); });
    std::printf("zone plan and verdict, %s: %.2f ms (CPU %.2f ms; %zu pairs, %zu pieces, %s, "
                "overshoot %.3f m, %zu uncovered parts)\n",
                what, t.wall, t.cpu, last.zone.pairs.size(), last.zone.plan.pieces.size(),
                last.check.inside ? "inside" : "not inside", last.check.overshoot,
                last.uncovered.size());
}

void Search(const char* what, const std::vector<Rod>& rods) {
    HeightSearch found;
    const Times t =
        Median([&] { found = std::get<HeightSearch>(LeastSystemHeight(rods, kZoneB, kBuilding)); });
    if (found.height)
        std::printf("least common height, %s: %.2f ms (CPU %.2f ms; %.1f m)\n", what, t.wall, t.cpu,
                    *found.height);
    else
        std::printf("least common height, %s: %.2f ms (CPU %.2f ms; none, %.3f m short)\n", what,
                    t.wall, t.cpu, found.shortfall);
}

// "Подобрать высоту" of one rod type, placed: the least height of a single
// rod 3 m off the middle of a long wall, and of a double catenary along it.
void SearchPlaced(const char* what, std::int32_t code, const ZoneInputs& inputs,
                  const Placement& placement) {
    HeightSearch found;
    const Times t =
        Median([&] { found = LeastHeight(code, inputs, kZoneB, placement, kBuilding); });
    if (found.height)
        std::printf("least height, %s: %.2f ms (CPU %.2f ms; %.1f m)\n", what, t.wall, t.cpu,
                    *found.height);
    else
        std::printf("least height, %s: %.2f ms (CPU %.2f ms; none up to 150 m)\n", what, t.wall,
                    t.cpu);
}

} // namespace

int main() {
    std::printf("50 rods round a 100 x 60 x 10 m building, zone B, median of %d runs\n", kRuns);
    Verdict("evenly, 20 m", RodsAround(50, 20, 0));
    Verdict("40 m gap, 11 m", RodsAround(50, 11, 40));
    Verdict("40 m gap, 20 m", RodsAround(50, 20, 40));
    Search("evenly", RodsAround(50, 20, 0));
    Search("40 m gap", RodsAround(50, 20, 40));
    SearchPlaced("single rod 3 m off the long wall", kSingleRod, {30, 10, 0, 0}, {50, -3, 0});
    SearchPlaced("double catenary over it", kDoubleCatenary, {30, 90, 40, 10}, {50, 30, 0});
    return 0;
}
