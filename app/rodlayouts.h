// The layouts of the lightning-rod page, one for each rod type: the captions
// of its input rows and result rows. A null caption hides the row's field.
#pragma once

#include <array>
#include <cstdint>

namespace vostrel {

struct RodLayout {
    // Captions of Edit8 to Edit11.
    std::array<const char*, 4> inputs;
    // Captions of Edit13 to Edit18; the last three are two lines each (Label18
    // and Label19, Label20 and Label21, Label22 and Label23).
    std::array<std::array<const char*, 2>, 6> results;
    // False for a rod type whose zone the page does not compute: it says so.
    bool computed = true;
};

// The layout of rod type `code` (1 to 5).
const RodLayout& RodLayoutFor(std::int32_t code);

} // namespace vostrel
