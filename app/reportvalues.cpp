// What each tag of the report inserts: the single catenary's texts as they
// stand, the numbers of the last completed calculation and the sentences about
// them, all read from the design.
#include "app/reportvalues.h"

#include "app/rodlayouts.h"
#include "calc/formulatexts.h"
#include "calc/numtext.h"
#include "calc/strike.h"
#include "calc/zonetexts.h"
#include "rtf/rtf.h"
#include "windows/rodtable.h"

#include <QStringList>
#include <cmath>

namespace vostrel {

static_assert(rtf::kItalicMark == static_cast<char32_t>(kItalicMark) &&
                  rtf::kSubscriptMark == static_cast<char32_t>(kSubscriptMark) &&
                  rtf::kEndMark == static_cast<char32_t>(kEndMark),
              "the report's sentences mark symbols as the RTF engine reads them");

// The runs of values ReportText reads by their place.
constexpr bool Follow(ReportValue first, ReportValue last, int count) {
    return static_cast<int>(last) - static_cast<int>(first) == count - 1;
}
static_assert(Follow(ReportValue::Edit8, ReportValue::Edit11, 4) &&
              Follow(ReportValue::Edit13, ReportValue::Edit18, 6) &&
              Follow(ReportValue::NumbersH0A, ReportValue::NumbersRxA, 3) &&
              Follow(ReportValue::NumbersH0B, ReportValue::NumbersRxB, 3) &&
              Follow(ReportValue::RodNumbers, ReportValue::RodRx, 7) &&
              Follow(ReportValue::PairNames, ReportValue::PairRcx, 6) &&
              ReportValue::LeastRcx > ReportValue::SystemHx);

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
    if (design.rodType == kRodSystem) {
        if (!design.system)
            return std::nullopt;
        const SystemCalculation& s = *design.system;
        return SystemDrawingOf({s.rods, s.hx, {design.zoneA, design.zoneB}, s.zone},
                               BuildingSizeOf(design, numbers));
    }
    const Calculation* done = design.completedOfThisType();
    if (!done)
        return std::nullopt;
    return ZoneDrawing{done->code, done->inputs, done->zone, BuildingSizeOf(design, numbers),
                       design.placement};
}

namespace {
QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

// A sentence for the report, its symbols in italics with subscripts.
QString Marked(const std::string& text) {
    return QString::fromStdString(MarkSymbols(text));
}
QString Marked(const QString& text) {
    return Marked(text.toStdString());
}

ZoneKind FlagsKind(std::int32_t zoneA, std::int32_t zoneB) {
    return zoneB == 1 ? ZoneKind::B : zoneA == 1 ? ZoneKind::A : ZoneKind::None;
}
QString KindLetter(ZoneKind kind) {
    return kind == ZoneKind::A   ? QStringLiteral("А")
           : kind == ZoneKind::B ? QStringLiteral("Б")
                                 : QStringLiteral("не определён");
}

// The single catenary's report inserts its fields' texts as they are; the
// other types' reports are the program's own: trimmed, the inputs and results
// of the last completed calculation, "не рассчитано" without one.
bool AsIs(const Design& d) {
    return d.rodType == kSingleCatenary;
}

QString RodInput(const Design& d, size_t row) {
    return row < d.rodInputs.size() ? Text(d.rodInputs[row]) : QString();
}

// The building page's texts as the design holds them; null for other values.
std::optional<QString> BuildingText(const Design& d, ReportValue value) {
    using V = ReportValue;
    const BuildingType type = d.buildingType.value_or(BuildingType{});
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
    default:
        return std::nullopt;
    }
}

// Which inputs changed since the calculation `done` of the design's rod type.
QStringList ChangedInputs(const Design& d, const Calculation& done, const NumberText& numbers) {
    QStringList changed;
    const RodTypeInfo* rod = FindRodType(done.code);
    for (size_t i = 0; i < done.texts.size(); ++i) {
        const QString now = RodInput(d, i).trimmed();
        const QString then = Text(done.texts[i]).trimmed();
        if (now != then)
            changed << QStringLiteral("%1 (в расчёте %2, на странице молниеотвода %3)")
                           .arg(QString::fromUtf8(rod ? rod->inputs[i].name : ""), then,
                                now.isEmpty() ? QStringLiteral("пусто") : now);
    }
    const ZoneKind used = ZoneKindOf(done.zone), now = FlagsKind(d.zoneA, d.zoneB);
    if (used != now)
        changed << QStringLiteral("тип зоны защиты (в расчёте %1, сейчас %2)")
                       .arg(KindLetter(used), KindLetter(now));
    const auto size = BuildingSizeOf(d, numbers);
    if (const auto& strike = d.strikeBasis;
        strike && (!size || size->width != strike->S || size->length != strike->L ||
                   size->height != strike->h))
        changed << QStringLiteral("размеры здания (N вычислено для S = %1 м, L = %2 м, h = %3 м)")
                       .arg(numbers.fixed(strike->S, 1), numbers.fixed(strike->L, 1),
                            numbers.fixed(strike->h, 1));
    return changed;
}

// A system's critical pair as a calculation of two rods (equal: code 2,
// different: code 3, its first rod as rod 1); a lone rod as a single rod;
// none for rods all single or without a calculation.
std::optional<Calculation> CriticalPairOf(const Design& d) {
    if (d.rodType != kRodSystem || !d.system)
        return std::nullopt;
    const SystemCalculation& s = *d.system;
    if (s.zone.rods.size() == 1)
        return Calculation{kSingleRod, {s.rods[0].h, s.hx, 0, 0}, {}, s.zone.rods[0]};
    if (!s.zone.criticalPair || !s.zone.leastRcx)
        return std::nullopt;
    const RodPair& pair = s.zone.pairs[*s.zone.criticalPair];
    const Rod& a = s.rods[static_cast<size_t>(pair.first)];
    const Rod& b = s.rods[static_cast<size_t>(pair.second)];
    if (const auto* equal = std::get_if<DoubleRodResult>(&pair.zone))
        return Calculation{kDoubleRod, {a.h, pair.L, s.hx, 0}, {}, *equal};
    return Calculation{
        kUnequalRods, {a.h, b.h, pair.L, s.hx}, {}, std::get<UnequalRodResult>(pair.zone)};
}

// The calculation the formulas, the case and the conclusion show: the last
// completed one of the rod type, or a system's critical pair.
std::optional<Calculation> Reported(const Design& d) {
    if (d.rodType == kRodSystem)
        return CriticalPairOf(d);
    const Calculation* done = d.completedOfThisType();
    return done ? std::optional<Calculation>(*done) : std::nullopt;
}

// A system's warning: no calculation, or rods or hx changed since it.
QString SystemWarning(const Design& d) {
    if (!d.system)
        return QStringLiteral("Внимание: Расчёт не выполнен: результатов расчёта зоны защиты в "
                              "отчёте нет.");
    QStringList changed;
    if (d.rods != d.system->texts)
        changed << QStringLiteral("молниеотводы");
    if (Text(d.system->hxText).trimmed() != RodInput(d, 0).trimmed())
        changed << QStringLiteral("hx (в расчёте %1, на странице молниеотвода %2)")
                       .arg(Text(d.system->hxText).trimmed(), RodInput(d, 0).trimmed());
    if (changed.isEmpty())
        return {};
    return QStringLiteral("Внимание: после последнего расчёта изменены %1. Отчёт составлен по "
                          "данным последнего расчёта; для новых данных Расчёт не выполнен.")
        .arg(changed.join(QStringLiteral(", ")));
}

// What the report's values lack: a completed calculation, or which inputs
// changed since it; empty when nothing.
QString Warning(const Design& d, const NumberText& numbers) {
    if (d.rodType == kRodSystem)
        return SystemWarning(d);
    const QString none = QStringLiteral("Расчёт не выполнен: результатов расчёта зоны защиты в "
                                        "отчёте нет.");
    if (!d.completed)
        return QStringLiteral("Внимание: ") + none;
    if (d.completed->code != d.rodType)
        return QStringLiteral("Внимание: тип молниеотвода изменён после последнего расчёта. ") +
               none;
    const QStringList changed = ChangedInputs(d, *d.completed, numbers);
    if (changed.isEmpty())
        return {};
    return QStringLiteral("Внимание: после последнего расчёта изменены %1. %2")
        .arg(changed.join(QStringLiteral(", ")),
             AsIs(d) ? QStringLiteral("Результаты в отчёте получены по прежним данным.")
                     : QStringLiteral("Отчёт составлен по данным последнего расчёта; для новых "
                                      "данных Расчёт не выполнен."));
}

// A quantity of the calculation `done`: "не рассчитано" without one, "—"
// where the zone has no such value.
QString QuantityText(const Calculation* done, Quantity quantity, const NumberText& numbers) {
    if (!done)
        return QStringLiteral("не рассчитано");
    const auto v = QuantityOf(done->zone, quantity);
    return v ? numbers.fixed(*v, 1) : QStringLiteral("—");
}

QString Input(const Design& d, size_t row) {
    const Calculation* done = d.completedOfThisType();
    if (AsIs(d))
        return RodInput(d, row);
    if (done && row < done->texts.size())
        return Text(done->texts[row]).trimmed();
    return RodInput(d, row).trimmed();
}

QString Result(const Design& d, size_t row, const NumberText& numbers) {
    return AsIs(d) ? Text(d.results[row])
                   : QuantityText(d.completedOfThisType(),
                                  RodLayoutFor(d.rodType).results[row].shows, numbers);
}

// The numbers under the formulas of the zone and of the inner region.
QString Numbers(const Design& d, ReportValue value, const NumberText& numbers) {
    using V = ReportValue;
    const std::optional<Calculation> done = Reported(d);
    if (!done)
        return {};
    const FormulaNumbers formulas =
        FormulaNumbersOf(done->code, done->inputs, done->zone, numbers.decimalSeparatorUtf8());
    if (value == V::NumbersInner)
        return Marked(formulas.inner);
    // h0, r0, rx of each zone: on a line of their own under the formula, in
    // the zone that applies only.
    const std::string* const lines[] = {&formulas.h0, &formulas.r0, &formulas.rx};
    const bool zoneA = value <= V::NumbersRxA;
    const auto at =
        static_cast<size_t>(value) - static_cast<size_t>(zoneA ? V::NumbersH0A : V::NumbersH0B);
    const std::string& text = *lines[at];
    return ZoneKindOf(done->zone) == (zoneA ? ZoneKind::A : ZoneKind::B) && !text.empty()
               ? QStringLiteral("\n") + Marked(text)
               : QString();
}

// The placement the report's drawing shows, else the design's, else the
// centred one; "—" without a building to centre on.
QString PlacementText(const Design& d, ReportValue value, const ZoneFigure* figure,
                      const NumberText& numbers) {
    std::optional<Placement> placement = d.placement;
    if (figure && figure->drawing.building)
        placement = PlacementOf(figure->drawing);
    else if (const auto size = BuildingSizeOf(d, numbers); !placement && size)
        placement = DefaultPlacement({size->width, size->length, size->height});
    if (!placement)
        return QStringLiteral("—");
    const double v = value == ReportValue::PlacementX   ? placement->x
                     : value == ReportValue::PlacementY ? placement->y
                                                        : placement->angleDegrees;
    return numbers.fixed(v, 2);
}

// The inner region's case and the conclusion on objects of height hx: of a
// system, those of its critical pair.
QString Outcome(const Design& d, ReportValue value, const NumberText& numbers) {
    const std::string& separator = numbers.decimalSeparatorUtf8();
    const std::optional<Calculation> done = Reported(d);
    const bool system = d.rodType == kRodSystem && d.system;
    if (value == ReportValue::Case) {
        if (system && done && done->code == kSingleRod)
            return QStringLiteral("молниеотвод один, пар нет");
        if (done)
            return Marked(CaseText(done->code, done->zone, separator));
        return system ? QStringLiteral("молниеотводы рассматриваются как одиночные")
                      : QStringLiteral("не рассчитано");
    }
    if (system && !done)
        return Marked(QStringLiteral("Молниеотводы всех пар рассматриваются как одиночные: на "
                                     "высоте hx = %1 м защищены объекты в пределах rx от "
                                     "каждого молниеотвода (таблица зон одиночных "
                                     "молниеотводов).")
                          .arg(numbers.fixed(d.system->hx, 1)));
    if (!done)
        return QStringLiteral("Расчёт зоны защиты не выполнен.");
    std::string text =
        ConclusionText(done->code, done->zone, InputsOf(done->code, done->inputs).hx, separator);
    if (system && done->code != kSingleRod) {
        const RodPair& pair = d.system->zone.pairs[*d.system->zone.criticalPair];
        text = QStringLiteral("Пара молниеотводов № %1–%2 с наименьшим rcx. ")
                   .arg(pair.first + 1)
                   .arg(pair.second + 1)
                   .toStdString() +
               text;
    }
    return Marked(text);
}

// A column of a system's rods' or pairs' table, a line for each rod (pair),
// and its other values; "не рассчитано" without a calculation.
QString SystemText(const Design& d, ReportValue value, const NumberText& numbers) {
    using V = ReportValue;
    if (!d.system)
        return QStringLiteral("не рассчитано");
    const SystemCalculation& s = *d.system;
    const auto num = [&](double v) { return numbers.fixed(v, 1); };
    QStringList lines;
    for (size_t i = 0; i < s.texts.size() && value >= V::RodNumbers && value <= V::RodRx; ++i) {
        const RodText& typed = s.texts[i];
        const SingleRodResult& zone = s.zone.rods[i];
        const QString cells[] = {QString::number(i + 1),
                                 Text(typed.x).trimmed(),
                                 Text(typed.y).trimmed(),
                                 Text(typed.h).trimmed(),
                                 num(zone.h0),
                                 num(zone.r0),
                                 num(zone.rx)};
        lines << cells[static_cast<size_t>(value) - static_cast<size_t>(V::RodNumbers)];
    }
    for (size_t i = 0; i < s.zone.pairs.size() && value >= V::PairNames && value <= V::PairRcx; ++i)
        lines << PairCells(s.zone.pairs[i], s.zone.zone, numbers)
                     .at(static_cast<qsizetype>(value) - static_cast<qsizetype>(V::PairNames));
    switch (value) {
    case V::SystemHx:
        return Text(s.hxText).trimmed();
    case V::RodCount:
        return QString::number(s.rods.size());
    case V::PairCount:
        return QString::number(s.zone.pairs.size());
    case V::CriticalPair:
        return s.zone.leastRcx && s.zone.criticalPair
                   ? PairCells(s.zone.pairs[*s.zone.criticalPair], s.zone.zone, numbers).first()
                   : QStringLiteral("—");
    case V::LeastRcx:
        return s.zone.leastRcx        ? num(*s.zone.leastRcx)
               : s.zone.pairs.empty() ? QStringLiteral("—")
                                      : QStringLiteral("одиночные");
    default:
        return Marked(lines.join(QLatin1Char('\n')));
    }
}

// The sentences about the calculation, the drawing and N.
QString Sentence(const Design& d, ReportValue value, const ZoneFigure* figure,
                 const NumberText& numbers) {
    using V = ReportValue;
    const Calculation* done = d.completedOfThisType();
    const std::string& separator = numbers.decimalSeparatorUtf8();
    switch (value) {
    case V::CableNumbers:
        return done
                   ? Marked(FormulaNumbersOf(done->code, done->inputs, done->zone, separator).cable)
                   : Marked("h = " + QuantityText(done, Quantity::H, numbers));
    case V::Case:
    case V::Conclusion:
        return Outcome(d, value, numbers);
    case V::Verdict:
        return figure ? Marked(figure->verdict.text)
                      : QStringLiteral("Здание не проверено: нет завершённого расчёта зоны "
                                       "защиты.");
    case V::Warning:
        return Marked(Warning(d, numbers));
    case V::Picture:
        return QStringLiteral("Чертёж зоны защиты не выполнен: нет завершённого расчёта.");
    case V::NumbersN:
        return d.strikeBasis
                   ? QStringLiteral("\n") +
                         Marked(StrikeNumbers(d.strikeBasis->S, d.strikeBasis->L, d.strikeBasis->h,
                                              d.strikeBasis->n, separator))
                   : QString();
    default:
        return Numbers(d, value, numbers);
    }
}
} // namespace

QString ReportText(const Design& d, ReportValue value, const ZoneFigure* figure,
                   const NumberText& numbers) {
    using V = ReportValue;
    if (const auto text = BuildingText(d, value))
        return AsIs(d) ? *text : text->trimmed();
    // Where the value stands in a run of values that follow one another.
    const auto from = [value](V first) {
        return static_cast<size_t>(value) - static_cast<size_t>(first);
    };
    const Calculation* done = d.completedOfThisType();
    switch (value) {
    case V::Edit8: // the rod page's rows, in order
    case V::Edit9:
    case V::Edit10:
    case V::Edit11:
        return Input(d, from(V::Edit8));
    case V::Edit13:
    case V::Edit14:
    case V::Edit15:
    case V::Edit16:
    case V::Edit17:
    case V::Edit18:
        return Result(d, from(V::Edit13), numbers);
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
    case V::H01:
        return QuantityText(done, Quantity::H01, numbers);
    case V::R01:
        return QuantityText(done, Quantity::R01, numbers);
    case V::H02:
        return QuantityText(done, Quantity::H02, numbers);
    case V::R02:
        return QuantityText(done, Quantity::R02, numbers);
    case V::Hc1:
        return QuantityText(done, Quantity::Hc1, numbers);
    case V::Hc2:
        return QuantityText(done, Quantity::Hc2, numbers);
    case V::Rpx:
        return QuantityText(done, Quantity::Rpx, numbers);
    case V::PlacementX:
    case V::PlacementY:
    case V::PlacementAngle:
        return PlacementText(d, value, figure, numbers);
    default:
        if (value >= V::SystemHx)
            return SystemText(d, value, numbers);
        return Sentence(d, value, figure, numbers);
    }
}

} // namespace vostrel
