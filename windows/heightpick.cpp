#include "windows/heightpick.h"

#include "ui/dialogs.h"
#include "windows/rodtable.h"
#include "windows/unit8.h"

#include <QPushButton>

namespace vostrel {

namespace {
// What is raised, as the sentence names it ("при высоте ..."), by rod type
// code and the row searched.
QString Raised(std::int32_t code, int row) {
    switch (code) {
    case kSingleRod:
        return QStringLiteral("молниеотвода h");
    case kDoubleRod:
        return QStringLiteral("молниеотводов h");
    case kUnequalRods:
        return QStringLiteral("меньшего молниеотвода h%1").arg(row + 1);
    case kSingleCatenary:
        return QStringLiteral("опор троса hоп");
    case kDoubleCatenary:
        return QStringLiteral("опор тросов hоп");
    case kRodSystem:
    default:
        return QStringLiteral("всех молниеотводов h");
    }
}

QString ZoneLetter(ZoneFlags flags) {
    return flags.zoneB == 1 ? QStringLiteral("Б") : QStringLiteral("А");
}

// `destination` names where "Да" writes the height.
HeightOffer Offer(const HeightSearch& found, const QString& raised, const QString& destination,
                  ZoneFlags flags, double h, const NumberText& numbers) {
    const QString building =
        QStringLiteral("Здание на своей высоте h = %1 м").arg(numbers.fixed(h, 1));
    if (found.height)
        return {found.height, 0,
                QStringLiteral("%1 защищено (зона %2) при высоте %3 = %4 м — наименьшей с шагом "
                               "0,1 м. Записать её %5?")
                    .arg(building, ZoneLetter(flags), raised, numbers.fixed(*found.height, 1),
                         destination)};
    // A miss that one decimal would show as nothing is still a miss.
    const QString miss = found.shortfall < 0.05
                             ? QStringLiteral("менее чем на %1 м").arg(numbers.fixed(0.1, 1))
                             : QStringLiteral("на %1 м").arg(numbers.fixed(found.shortfall, 1));
    return {std::nullopt, 0,
            QStringLiteral("%1 не защищено (зона %2) ни при какой высоте %3 до 150 м: и при "
                           "150 м оно выходит из зоны защиты %4.")
                .arg(building, ZoneLetter(flags), raised, miss)};
}
} // namespace

HeightOffer OfferHeight(const ZoneDrawing& drawing, const NumberText& numbers) {
    const ZoneKind kind = ZoneKindOf(drawing.zone);
    if (!drawing.building)
        return {std::nullopt, 0,
                QStringLiteral("Высота не подобрана: размеры здания на первой странице не числа.")};
    if (kind == ZoneKind::None)
        return {std::nullopt, 0,
                QStringLiteral("Высота не подобрана: тип зоны защиты (А или Б) не определён.")};
    const ZoneFlags flags{kind == ZoneKind::A ? 1 : 0, kind == ZoneKind::B ? 1 : 0};
    const Building building{drawing.building->width, drawing.building->length,
                            drawing.building->height};
    const int row = SearchedInput(drawing.code, drawing.inputs);
    HeightOffer offer =
        Offer(LeastHeight(drawing.code, drawing.inputs, flags, PlacementOf(drawing), building),
              Raised(drawing.code, row), QStringLiteral("на страницу молниеотвода"), flags,
              building.height, numbers);
    offer.row = row;
    return offer;
}

HeightOffer OfferSystemHeight(const std::vector<Rod>& rods, ZoneFlags flags,
                              const Building& building, const NumberText& numbers) {
    const auto found = LeastSystemHeight(rods, flags, building);
    if (const auto* error = std::get_if<RodInputError>(&found))
        return {
            std::nullopt, 0,
            QStringLiteral("Высота не подобрана: %1").arg(QString::fromStdString(error->message))};
    return Offer(std::get<HeightSearch>(found), Raised(kRodSystem, 0),
                 QStringLiteral("в таблицу молниеотводов"), flags, building.height, numbers);
}

// Offers the least height; "Да" hands it to the rod page, or to every rod of
// a system in the rods' table.
void TForm8::Button2Click() {
    if (!figure_ || !figure_->drawing.building)
        return;
    const ZoneDrawing& drawing = figure_->drawing;
    if (!drawing.system) {
        const HeightOffer offer = OfferHeight(drawing, numbers());
        if (!offer.height)
            message(offer.text);
        else if (services_.dialogs.confirm(this, offer.text))
            emit heightChosen(offer.row, *offer.height);
        return;
    }
    const BuildingSize& size = *drawing.building;
    const HeightOffer offer =
        OfferSystemHeight(drawing.system->rods, drawing.system->flags,
                          Building{size.width, size.length, size.height}, numbers());
    if (!offer.height)
        message(offer.text);
    else if (services_.dialogs.confirm(this, offer.text))
        RodTable1->setHeights(numbers().fixed(*offer.height, 1));
}

} // namespace vostrel
