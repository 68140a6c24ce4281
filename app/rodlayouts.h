// The layouts of the lightning-rod page, one for each rod type: the captions
// of its input rows and of its result rows with the quantity each shows. A
// null caption hides the row's field.
#pragma once

#include "calc/rodtypes.h"

#include <array>
#include <cstdint>

namespace vostrel {

struct ResultRow {
    std::array<const char*, 2> caption; // the second line for Edit16 to Edit18
    Quantity shows;
};

struct RodLayout {
    // Captions of Edit8 to Edit11, the inputs in the order the type takes them.
    std::array<const char*, 4> inputs;
    // Edit13 to Edit18; the last three have two-line captions (Label18 and
    // Label19, Label20 and Label21, Label22 and Label23).
    std::array<ResultRow, 6> results;
};

// The layout of rod type `code` (1 to 6).
const RodLayout& RodLayoutFor(std::int32_t code);

} // namespace vostrel
