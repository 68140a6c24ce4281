#include "labels.h"

#include <algorithm>
#include <cmath>

namespace vostrel {

void LabelBoxes::take(const QRectF& box) {
    taken_.push_back(box);
    if (record_)
        record_->push_back(box);
}

bool LabelBoxes::isFree(const QRectF& box, const QRectF& bounds) const {
    if (!bounds.contains(box))
        return false;
    return std::none_of(taken_.begin(), taken_.end(),
                        [&](const QRectF& t) { return t.intersects(box); });
}

std::optional<QRectF> LabelBoxes::place(const std::vector<QRectF>& candidates,
                                        const QRectF& bounds) const {
    if (candidates.empty())
        return std::nullopt;
    for (const QRectF& c : candidates)
        if (isFree(c, bounds))
            return c;
    const QRectF first = candidates.front();
    const qreal step = std::max<qreal>(1, std::min(first.width(), first.height()) / 2);
    const int rings =
        static_cast<int>(std::ceil(std::max(bounds.width(), bounds.height()) / step) + 1);
    for (int r = 1; r <= rings; ++r) {
        // The ring's cells nearest to the middle of each side first.
        std::optional<QRectF> best;
        qreal bestDistance = 0;
        for (int i = -r; i <= r; ++i)
            for (const auto& [dx, dy] : {std::pair{i, -r}, {i, r}, {-r, i}, {r, i}}) {
                const QRectF box = first.translated(dx * step, dy * step);
                const qreal distance = std::hypot(dx, dy);
                if ((!best || distance < bestDistance) && isFree(box, bounds)) {
                    best = box;
                    bestDistance = distance;
                }
            }
        if (best)
            return best;
    }
    return std::nullopt;
}

} // namespace vostrel
