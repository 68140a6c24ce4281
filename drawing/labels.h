// Text boxes placed one by one, each clear of every box placed before it:
// the drawing's labels never overlap.
#pragma once

#include <QRectF>
#include <optional>
#include <vector>

namespace vostrel {

class LabelBoxes {
public:
    explicit LabelBoxes(std::vector<QRectF>* record = nullptr) : record_(record) {}

    // Keeps `box` as taken.
    void take(const QRectF& box);
    // Whether `box` lies within `bounds` and clear of every taken box.
    bool isFree(const QRectF& box, const QRectF& bounds) const;
    // The first free one of `candidates` (all of one size); else the free box
    // of that size nearest to the first, searched on rings round it in steps
    // of half its smaller side; none when `bounds` has no room left.
    std::optional<QRectF> place(const std::vector<QRectF>& candidates, const QRectF& bounds) const;

private:
    std::vector<QRectF> taken_;
    std::vector<QRectF>* record_;
};

} // namespace vostrel
