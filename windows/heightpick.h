// "Подобрать высоту" of the drawing window: the least height, in steps of
// 0,1 m up to 150 m, with which the building as placed is protected at its
// own height, and the sentence that offers it or says why there is none.
#pragma once

#include "calc/heightsearch.h"
#include "drawing/zonedrawing.h"
#include "ui/conversions.h"

#include <QString>
#include <optional>
#include <vector>

namespace vostrel {

struct HeightOffer {
    std::optional<double> height; // none: nothing to offer, `text` says why
    int row = 0;                  // the rod page's input row (from 0) it goes into
    QString text;                 // the question offering it, or the reason
};

// For the drawing's rod type, inputs, zone (А or Б, as calculated) and
// placement: the height of the rod (rods, supports) it varies.
HeightOffer OfferHeight(const ZoneDrawing& drawing, const NumberText& numbers);

// For a system of rods at their positions: one height common to all.
HeightOffer OfferSystemHeight(const std::vector<Rod>& rods, ZoneFlags flags,
                              const Building& building, const NumberText& numbers);

} // namespace vostrel
