// What each tag of the report inserts: the fields' texts as they stand, the
// numbers of the last completed calculation and the sentences about them.
#include "app/reportvalues.h"

#include "calc/numtext.h"
#include "calc/strike.h"
#include "calc/zonetexts.h"

#include <cmath>

namespace vostrel {

std::optional<BuildingSize> BuildingSizeOf(const Design& design, const NumberText& numbers) {
    try {
        const auto number = [&](size_t i) {
            return numbers.toFloat(QString::fromStdString(design.building[i]));
        };
        const BuildingSize size{number(0), number(1), number(2)};
        return size;
    } catch (const ConversionError&) {
        return std::nullopt;
    }
}

std::optional<ZoneDrawing> DrawingOf(const Design& design, const NumberText& numbers) {
    const Calculation* done = design.completedOfThisType();
    if (!done)
        return std::nullopt;
    return ZoneDrawing{done->code, done->inputs, done->zone, BuildingSizeOf(design, numbers)};
}

namespace {
QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

// The texts of the building page and the rod page as the design holds them.
QString FieldText(const Design& d, ReportValue value) {
    using V = ReportValue;
    const BuildingType type = d.buildingType.value_or(BuildingType{});
    const auto input = [&](size_t i) {
        return i < d.rodInputs.size() ? Text(d.rodInputs[i]) : QString();
    };
    switch (value) {
    case V::Edit1:
        return Text(d.building[0]);
    case V::Edit2:
        return Text(d.building[1]);
    case V::Edit3:
        return Text(d.building[2]);
    case V::Edit4:
        return Text(d.strikes);
    case V::Edit5:
        return Text(type.zone);
    case V::Edit6:
        return Text(type.location);
    case V::Edit7:
        return Text(type.category);
    case V::Memo1:
        return Text(type.building);
    case V::Edit8:
        return input(0);
    case V::Edit9:
        return input(1);
    case V::Edit10:
        return input(2);
    case V::Edit11:
        return input(3);
    case V::Edit13:
        return Text(d.results[0]);
    case V::Edit14:
        return Text(d.results[1]);
    case V::Edit15:
        return Text(d.results[2]);
    case V::Edit16:
        return Text(d.results[3]);
    case V::Edit17:
        return Text(d.results[4]);
    case V::Edit18:
        return Text(d.results[5]);
    default:
        return {};
    }
}
} // namespace

QString ReportText(const Design& d, ReportValue value, const ZoneFigure* figure,
                   const NumberText& numbers) {
    const Calculation* done = d.completedOfThisType();
    const auto number = [&](std::optional<double> v) {
        return v ? numbers.fixed(*v, 1) : QString();
    };
    const auto quantity = [&](Quantity q) {
        return done ? number(QuantityOf(done->zone, q)) : QString();
    };
    const std::string& separator = numbers.decimalSeparatorUtf8();
    using V = ReportValue;
    switch (value) {
    case V::DoubledRx:
        return numbers.fixed(d.rx2, 1);
    case V::DoubledR0:
        return numbers.fixed(d.r02, 1);
    case V::Hours:
        return d.thunderstormHours ? QString::number(*d.thunderstormHours) : QString();
    case V::Density:
        for (const ThunderstormClass& c : kThunderstormClasses)
            if (d.thunderstormHours == c.hours)
                return numbers.fixed(c.density, 1);
        return {};
    case V::Sag: // 2 or 3 m, a whole number
        return done && IsCatenary(done->code)
                   ? QString::number(std::lround(done->inputs[0] -
                                                 QuantityOf(done->zone, Quantity::H).value_or(0)))
                   : QString();
    case V::CableHeight:
        return quantity(Quantity::H);
    case V::H01:
        return quantity(Quantity::H01);
    case V::R01:
        return quantity(Quantity::R01);
    case V::H02:
        return quantity(Quantity::H02);
    case V::R02:
        return quantity(Quantity::R02);
    case V::Hc1:
        return quantity(Quantity::Hc1);
    case V::Hc2:
        return quantity(Quantity::Hc2);
    case V::Rpx:
        return quantity(Quantity::Rpx);
    case V::Case:
        return done ? QString::fromStdString(CaseText(done->code, done->zone, separator))
                    : QString();
    case V::Conclusion:
        return done ? QString::fromStdString(ConclusionText(
                          done->code, done->zone, HxOf(done->code, done->inputs), separator))
                    : QStringLiteral("Расчёт зоны защиты не выполнен.");
    case V::Verdict:
        return figure ? figure->verdict.text
                      : QStringLiteral("Здание не проверено: нет завершённого расчёта зоны "
                                       "защиты.");
    case V::Warning:
        if (!done)
            return QStringLiteral("Внимание: расчёт зоны защиты для этого типа молниеотвода не "
                                  "выполнен, значения зоны в отчёте отсутствуют.");
        return d.changedSinceCalculation()
                   ? QStringLiteral("Внимание: исходные данные молниеотвода изменены после "
                                    "последнего расчёта; значения в отчёте могут не "
                                    "соответствовать друг другу.")
                   : QString();
    case V::Picture:
        return QStringLiteral("Чертёж зоны защиты не выполнен: нет завершённого расчёта.");
    default:
        return FieldText(d, value);
    }
}

} // namespace vostrel
