#include "design.h"

namespace vostrel {

const Calculation* Design::completedOfThisType() const {
    return completed && completed->code == rodType ? &*completed : nullptr;
}

bool Design::calculated() const {
    if (rodType == kRodSystem)
        return system && system->texts == rods && rodInputs.size() == 1 &&
               rodInputs.front() == system->hxText;
    const Calculation* done = completedOfThisType();
    return done && done->texts == rodInputs;
}

void Design::complete(std::int32_t code, const ZoneInputs& inputs, std::vector<std::string> texts,
                      const RodZone& zone) {
    zones.keep(zone);
    completed = Calculation{code, inputs, std::move(texts), zone};
    // The factor 2 is a float, the width at which the design rules fix it;
    // doubling is exact in any binary width, so 2rx and 2r0 are exactly twice
    // the stored rx and r0 all the same.
    rx2 = QuantityOf(zone, Quantity::Rx).value_or(0) * 2.0f;
    r02 = QuantityOf(zone, Quantity::R0).value_or(0) * 2.0f;
}

} // namespace vostrel
