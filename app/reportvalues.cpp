// What each tag of the report inserts: the single catenary's fields' texts as
// they stand, the numbers of the last completed calculation and the
// sentences about them.
#include "app/rodlayouts.h"
#include "app/unit3.h"

#include "calc/formulatexts.h"
#include "calc/numtext.h"
#include "calc/zonetexts.h"
#include "rtf/rtf.h"
#include "windows/unit4.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <cmath>

namespace vostrel {

static_assert(rtf::kItalicMark == static_cast<char32_t>(kItalicMark) &&
                  rtf::kSubscriptMark == static_cast<char32_t>(kSubscriptMark) &&
                  rtf::kEndMark == static_cast<char32_t>(kEndMark),
              "the report's sentences mark symbols as the RTF engine reads them");

// The runs of values reportValue reads by their place.
constexpr bool Follow(ReportValue first, ReportValue last, int count) {
    return static_cast<int>(last) - static_cast<int>(first) == count - 1;
}
static_assert(Follow(ReportValue::Edit8, ReportValue::Edit11, 4) &&
              Follow(ReportValue::Edit13, ReportValue::Edit18, 6) &&
              Follow(ReportValue::NumbersH0A, ReportValue::NumbersRxA, 3) &&
              Follow(ReportValue::NumbersH0B, ReportValue::NumbersRxB, 3));

namespace {
// The symbols of a rod type's inputs, in the order of its rows.
std::array<const char*, 4> InputSymbols(std::int32_t code) {
    switch (code) {
    case kSingleRod:
        return {"h", "hx", nullptr, nullptr};
    case kDoubleRod:
        return {"h", "L", "hx", nullptr};
    case kUnequalRods:
        return {"h1", "h2", "L", "hx"};
    case kSingleCatenary:
        return {"hоп", "a", "hx", nullptr};
    default:
        return {"hоп", "a", "L", "hx"};
    }
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
} // namespace

std::optional<BuildingSize> TForm1::buildingSize() const {
    try {
        const BuildingSize size{numbers().toFloat(Edit1->text()), numbers().toFloat(Edit2->text()),
                                numbers().toFloat(Edit3->text())};
        return size;
    } catch (const ConversionError&) {
        return std::nullopt;
    }
}

const TForm1::Completed* TForm1::completedOfThisType() const {
    return completed_ && completed_->code == rodTypeCode_ ? &*completed_ : nullptr;
}

QString TForm1::reportWarning() const {
    const QString none = QStringLiteral("Расчёт не выполнен: результатов расчёта зоны защиты в "
                                        "отчёте нет.");
    if (!completed_)
        return QStringLiteral("Внимание: ") + none;
    if (completed_->code != rodTypeCode_)
        return QStringLiteral("Внимание: тип молниеотвода изменён после последнего расчёта. ") +
               none;
    QStringList changed;
    const auto symbols = InputSymbols(completed_->code);
    const auto fields = rodInputs();
    for (qsizetype i = 0; i < completed_->texts.size(); ++i) {
        const QString now = fields[static_cast<size_t>(i)]->text().trimmed();
        const QString then = completed_->texts[i].trimmed();
        if (now != then)
            changed << QStringLiteral("%1 (в расчёте %2, на странице молниеотвода %3)")
                           .arg(QString::fromUtf8(symbols[static_cast<size_t>(i)]), then,
                                now.isEmpty() ? QStringLiteral("пусто") : now);
    }
    const ZoneKind used = ZoneKindOf(completed_->zone), now = FlagsKind(zoneA_, zoneB_);
    if (used != now)
        changed << QStringLiteral("тип зоны защиты (в расчёте %1, сейчас %2)")
                       .arg(KindLetter(used), KindLetter(now));
    const TForm2::StrikeInputs strike = Form2->StrikeInputsOfN();
    const auto size = buildingSize();
    if (Form2->ThunderstormHours() &&
        (!size || size->width != strike.S || size->length != strike.L || size->height != strike.h))
        changed << QStringLiteral("размеры здания (N вычислено для S = %1 м, L = %2 м, h = %3 м)")
                       .arg(numbers().fixed(strike.S, 1), numbers().fixed(strike.L, 1),
                            numbers().fixed(strike.h, 1));
    if (changed.isEmpty())
        return {};
    return QStringLiteral("Внимание: после последнего расчёта изменены %1. %2")
        .arg(changed.join(QStringLiteral(", ")),
             rodTypeCode_ == kSingleCatenary
                 ? QStringLiteral("Результаты в отчёте получены по прежним данным.")
                 : QStringLiteral("Отчёт составлен по данным последнего расчёта; для новых "
                                  "данных Расчёт не выполнен."));
}

std::optional<ZoneDrawing> TForm1::drawing() const {
    const Completed* done = completedOfThisType();
    if (!done)
        return std::nullopt;
    return ZoneDrawing{done->code, done->inputs, done->zone, buildingSize(), placement_};
}

// The single catenary's report inserts its fields' texts as they are; the
// other types' reports are the program's own: trimmed, the inputs and results
// of the last completed calculation, "не рассчитано" without one.
bool TForm1::reportAsIs() const {
    return rodTypeCode_ == kSingleCatenary;
}

QString TForm1::reportQuantity(Quantity quantity) const {
    const Completed* done = completedOfThisType();
    if (!done)
        return QStringLiteral("не рассчитано");
    const auto v = QuantityOf(done->zone, quantity);
    return v ? numbers().fixed(*v, 1) : QStringLiteral("—");
}

QString TForm1::reportInput(size_t row) const {
    const Completed* done = completedOfThisType();
    if (reportAsIs())
        return rodInputs()[row]->text();
    if (done && static_cast<qsizetype>(row) < done->texts.size())
        return done->texts[static_cast<qsizetype>(row)].trimmed();
    return rodInputs()[row]->text().trimmed();
}

QString TForm1::reportResult(size_t row) const {
    return reportAsIs() ? resultFields()[row]->text()
                        : reportQuantity(RodLayoutFor(rodTypeCode_).results[row].shows);
}

QString TForm1::reportNumbers(ReportValue value) const {
    using V = ReportValue;
    const Completed* done = completedOfThisType();
    if (!done)
        return {};
    const FormulaNumbers formulas =
        FormulaNumbersOf(done->code, done->inputs, done->zone, numbers().decimalSeparatorUtf8());
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

QString TForm1::reportValue(ReportValue value, const ZoneFigure* figure) const {
    const Completed* done = completedOfThisType();
    const std::string& separator = numbers().decimalSeparatorUtf8();
    const auto field = [&](const QString& text) { return reportAsIs() ? text : text.trimmed(); };
    const auto quantity = [&](Quantity q) { return reportQuantity(q); };
    using V = ReportValue;
    // Where the value stands in a run of values that follow one another.
    const auto from = [value](V first) {
        return static_cast<size_t>(value) - static_cast<size_t>(first);
    };
    switch (value) {
    case V::Edit1:
        return field(Edit1->text());
    case V::Edit2:
        return field(Edit2->text());
    case V::Edit3:
        return field(Edit3->text());
    case V::Edit4:
        return field(Edit4->text());
    case V::Edit5:
        return field(Edit5->text());
    case V::Edit6:
        return field(Edit6->text());
    case V::Edit7:
        return field(Edit7->text());
    case V::Memo1:
        return field(Memo1->toPlainText());
    case V::Edit8: // the rod page's rows, in order
    case V::Edit9:
    case V::Edit10:
    case V::Edit11:
        return reportInput(from(V::Edit8));
    case V::Edit13:
    case V::Edit14:
    case V::Edit15:
    case V::Edit16:
    case V::Edit17:
    case V::Edit18:
        return reportResult(from(V::Edit13));
    case V::DoubledRx:
        return numbers().fixed(rx2_, 1);
    case V::DoubledR0:
        return numbers().fixed(r02_, 1);
    case V::Hours:
        return Form2->ThunderstormHours() ? QString::number(Form2->ThunderstormHours()) : QString();
    case V::Density:
        return Form2->ThunderstormHours() ? numbers().fixed(Form2->StrikeDensity(), 1) : QString();
    case V::CableNumbers:
        return done
                   ? Marked(FormulaNumbersOf(done->code, done->inputs, done->zone, separator).cable)
                   : Marked("h = " + reportQuantity(Quantity::H));
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
        return done ? Marked(CaseText(done->code, done->zone, separator))
                    : QStringLiteral("не рассчитано");
    case V::Conclusion:
        return done ? Marked(ConclusionText(done->code, done->zone, HxOf(done->code, done->inputs),
                                            separator))
                    : QStringLiteral("Расчёт зоны защиты не выполнен.");
    case V::Verdict:
        return figure ? Marked(figure->verdict.text)
                      : QStringLiteral("Здание не проверено: нет завершённого расчёта зоны "
                                       "защиты.");
    case V::Warning:
        return Marked(reportWarning());
    case V::Picture:
        return QStringLiteral("Чертёж зоны защиты не выполнен: нет завершённого расчёта.");
    case V::NumbersN: {
        const TForm2::StrikeInputs in = Form2->StrikeInputsOfN();
        return Form2->ThunderstormHours()
                   ? QStringLiteral("\n") + Marked(StrikeNumbers(in.S, in.L, in.h, in.n, separator))
                   : QString();
    }
    case V::NumbersH0A:
    case V::NumbersR0A:
    case V::NumbersRxA:
    case V::NumbersH0B:
    case V::NumbersR0B:
    case V::NumbersRxB:
    case V::NumbersInner:
        return reportNumbers(value);
    }
    return {};
}

} // namespace vostrel
