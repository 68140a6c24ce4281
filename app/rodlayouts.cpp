#include "app/rodlayouts.h"

namespace vostrel {

namespace {
// Every caption begins with one blank; "hоп" is a Latin h with Cyrillic "оп".
constexpr RodLayout kSingleCatenary{
    {" Высота опоры hоп, м", " Длина пролёта троса a, м", " Высота зоны защиты hx, м", nullptr},
    {{{" Вершина защищаемой зоны h0, м", nullptr},
      {" Радиус защиты на уровне земли r0, м", nullptr},
      {" Радиус защиты rx на высоте hx, м", nullptr},
      {nullptr, nullptr},
      {nullptr, nullptr},
      {nullptr, nullptr}}},
};

// No input row, so "Расчёт" is never enabled, and a note saying so.
constexpr RodLayout kNotComputed{{}, {}, false};
} // namespace

const RodLayout& RodLayoutFor(std::int32_t code) {
    return code == 4 ? kSingleCatenary : kNotComputed;
}

} // namespace vostrel
