// What each tag of the report inserts: the fields' texts as they stand, the
// numbers of the last completed calculation and the sentences about them.
#include "app/unit3.h"

#include "calc/numtext.h"
#include "calc/zonetexts.h"
#include "windows/unit4.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <cmath>

namespace vostrel {

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

bool TForm1::inputsChangedSinceCalculation() const {
    if (!completed_)
        return false;
    if (completed_->code != rodTypeCode_)
        return true;
    const auto fields = rodInputs();
    for (qsizetype i = 0; i < completed_->texts.size(); ++i)
        if (fields[static_cast<size_t>(i)]->text() != completed_->texts[i])
            return true;
    return false;
}

std::optional<ZoneDrawing> TForm1::drawing() const {
    const Completed* done = completedOfThisType();
    if (!done)
        return std::nullopt;
    return ZoneDrawing{done->code, done->inputs, done->zone, buildingSize(), placement_};
}

QString TForm1::reportValue(ReportValue value, const ZoneFigure* figure) const {
    const Completed* done = completedOfThisType();
    const auto number = [&](std::optional<double> v) {
        return v ? numbers().fixed(*v, 1) : QString();
    };
    const auto quantity = [&](Quantity q) {
        return done ? number(QuantityOf(done->zone, q)) : QString();
    };
    const std::string& separator = numbers().decimalSeparatorUtf8();
    using V = ReportValue;
    switch (value) {
    case V::Edit1:
        return Edit1->text();
    case V::Edit2:
        return Edit2->text();
    case V::Edit3:
        return Edit3->text();
    case V::Edit4:
        return Edit4->text();
    case V::Edit5:
        return Edit5->text();
    case V::Edit6:
        return Edit6->text();
    case V::Edit7:
        return Edit7->text();
    case V::Memo1:
        return Memo1->toPlainText();
    case V::Edit8:
        return Edit8->text();
    case V::Edit9:
        return Edit9->text();
    case V::Edit10:
        return Edit10->text();
    case V::Edit11:
        return Edit11->text();
    case V::Edit13:
        return Edit13->text();
    case V::Edit14:
        return Edit14->text();
    case V::Edit15:
        return Edit15->text();
    case V::Edit16:
        return Edit16->text();
    case V::Edit17:
        return Edit17->text();
    case V::Edit18:
        return Edit18->text();
    case V::DoubledRx:
        return numbers().fixed(rx2_, 1);
    case V::DoubledR0:
        return numbers().fixed(r02_, 1);
    case V::Hours:
        return Form2->ThunderstormHours() ? QString::number(Form2->ThunderstormHours()) : QString();
    case V::Density:
        return Form2->ThunderstormHours() ? numbers().fixed(Form2->StrikeDensity(), 1) : QString();
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
        return inputsChangedSinceCalculation()
                   ? QStringLiteral("Внимание: исходные данные молниеотвода изменены после "
                                    "последнего расчёта; значения в отчёте могут не "
                                    "соответствовать друг другу.")
                   : QString();
    case V::Picture:
        return QStringLiteral("Чертёж зоны защиты не выполнен: нет завершённого расчёта.");
    }
    return {};
}

} // namespace vostrel
