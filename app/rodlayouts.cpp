#include "app/rodlayouts.h"

#include "calc/rodsystem.h"

namespace vostrel {

namespace {
using Q = Quantity;

// Every caption begins with one blank; "hоп" is a Latin h with Cyrillic "оп".
constexpr ResultRow kH0{{" Вершина защищаемой зоны h0, м", nullptr}, Q::H0};
constexpr ResultRow kR0{{" Радиус защиты на уровне земли r0, м", nullptr}, Q::R0};
constexpr ResultRow kRx{{" Радиус защиты rx на высоте hx, м", nullptr}, Q::Rx};
constexpr ResultRow kRc{{" Полуширина зоны посередине на", " уровне земли rc, м"}, Q::Rc};
constexpr ResultRow kRcx{{" Полуширина зоны посередине на", " высоте hx rcx, м"}, Q::Rcx};
constexpr ResultRow kNone{{nullptr, nullptr}, Q::None};
constexpr const char* kHx = " Высота зоны защиты hx, м";
constexpr const char* kL = " Расстояние между молниеотводами L, м";

constexpr RodLayout kLayouts[] = {
    // 1: single rod
    {{" Высота молниеотвода h, м", kHx, nullptr, nullptr}, {kH0, kR0, kRx, kNone, kNone, kNone}},
    // 2: two rods of equal height
    {{" Высота молниеотводов h, м", kL, kHx, nullptr},
     {kH0,
      kR0,
      kRx,
      {{" Высота зоны посередине между", " молниеотводами hc, м"}, Q::Hc},
      kRc,
      kRcx}},
    // 3: two rods of different heights
    {{" Высота первого молниеотвода h1, м", " Высота второго молниеотвода h2, м", kL, kHx},
     {{{{" Радиус защиты rx1 у первого молниеотвода, м", nullptr}, Q::Rx1},
       {{" Радиус защиты rx2 у второго молниеотвода, м", nullptr}, Q::Rx2},
       {{" Высота зоны посередине hc, м", nullptr}, Q::Hc},
       kRc,
       kRcx,
       kNone}}},
    // 4: single catenary
    {{" Высота опоры hоп, м", " Длина пролёта троса a, м", kHx, nullptr},
     {kH0, kR0, kRx, kNone, kNone, kNone}},
    // 5: double catenary
    {{" Высота опор hоп, м", " Длина пролёта тросов a, м", " Расстояние между тросами L, м", kHx},
     {kH0, kR0, kRx, {{" Высота зоны посередине между", " тросами hc, м"}, Q::Hc}, kRc, kRcx}},
    // 6: a system of rods, typed in the plan window; its results are counts
    // and the least rcx of its pairs, not quantities of one zone.
    {{kHx, nullptr, nullptr, nullptr},
     {{{{" Число молниеотводов", nullptr}, Q::None},
       {{" Число соседних пар", nullptr}, Q::None},
       {{" Наименьшая полуширина rcx, м", nullptr}, Q::None},
       kNone,
       kNone,
       kNone}}},
};
} // namespace

const RodLayout& RodLayoutFor(std::int32_t code) {
    if (code == kRodSystem)
        return kLayouts[kRodSystem - 1];
    return kLayouts[IsRodType(code) ? code - 1 : kSingleCatenary - 1];
}

} // namespace vostrel
