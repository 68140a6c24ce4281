// "Отчёт": fills the report template with the design through the word
// processor while the progress window runs.
#include "report/report.h"

#include "drawing/zonedrawing.h"
#include "report/unit7.h"
#include "ui/dialogs.h"
#include "ui/files.h"

#include <QDir>
#include <QFileInfo>
#include <array>

namespace vostrel {

namespace {
using V = ReportValue;

using Rows = std::span<const Replacement>;

// The building's rows every report begins with.
constexpr std::array<Replacement, 6> kBuilding{{
    {"##ll&", V::Edit1},
    {"##ss&", V::Edit2},
    {"##hh&", V::Edit3},
    {"##nn&", V::Edit4},
    {"##ka&", V::Edit7},
    {"##zo&", V::Edit5},
}};
// What every report ends with: the site, the building type, the conclusion,
// the verdict on the building, the warning on what the values lack, the
// drawing, and the numbers under N's formula and under the formulas of the
// zone that applies (А first, then Б).
constexpr std::array<Replacement, 15> kCommon{{
    {"##tg&", V::Hours},
    {"##dn&", V::Density},
    {"##bt&", V::Memo1},
    {"##lo&", V::Edit6},
    {"##cn&", V::Conclusion},
    {"##vd&", V::Verdict},
    {"##wr&", V::Warning},
    {"##pc&", V::Picture},
    {"##nf&", V::NumbersN},
    {"##fh&", V::NumbersH0A},
    {"##fh&", V::NumbersH0B},
    {"##fr&", V::NumbersR0A},
    {"##fr&", V::NumbersR0B},
    {"##fx&", V::NumbersRxA},
    {"##fx&", V::NumbersRxB},
}};
// The inner region of two rods or cables: the case that applied, with numbers.
constexpr std::array<Replacement, 2> kInner{{
    {"##cs&", V::Case},
    {"##in&", V::NumbersInner},
}};
// The rods' placement on the site plan, at the end of the inputs.
constexpr std::array<Replacement, 3> kPlacement{{
    {"##px&", V::PlacementX},
    {"##py&", V::PlacementY},
    {"##pa&", V::PlacementAngle},
}};
// The zone's height h0 and radii r0 and rx, each written twice, of one rod or
// of the two equal rods or cables.
constexpr std::array<Replacement, 6> kZone{{
    {"##h0&", V::Edit13},
    {"##h0&", V::Edit13},
    {"##r0&", V::Edit14},
    {"##r0&", V::Edit14},
    {"##rx&", V::Edit15},
    {"##rx&", V::Edit15},
}};
// The middle of the span of two equal rods or cables: hc, rc and rcx.
constexpr std::array<Replacement, 3> kMiddle{{
    {"##hc&", V::Edit16},
    {"##rc&", V::Edit17},
    {"##cx&", V::Edit18},
}};
// The supports' height and the span between them, each written twice.
constexpr std::array<Replacement, 4> kSupports{{
    {"##vi&", V::Edit8},
    {"##vi&", V::Edit8},
    {"##aa&", V::Edit9},
    {"##aa&", V::Edit9},
}};

template <std::size_t... N> constexpr auto Join(const std::array<Replacement, N>&... parts) {
    std::array<Replacement, (N + ...)> out{};
    std::size_t at = 0;
    ((std::copy(parts.begin(), parts.end(), out.begin() + static_cast<std::ptrdiff_t>(at)),
      at += N),
     ...);
    return out;
}
template <std::size_t N> using Own = std::array<Replacement, N>;

constexpr auto kSingleRodRows = Join(kBuilding,
                                     Own<3>{{
                                         {"##hr&", V::Edit8},
                                         {"##hx&", V::Edit9},
                                         {"##hx&", V::Edit9},
                                     }},
                                     kZone, kPlacement, kCommon);

constexpr auto kDoubleRodRows = Join(kBuilding,
                                     Own<4>{{
                                         {"##hr&", V::Edit8},
                                         {"##ld&", V::Edit9},
                                         {"##hx&", V::Edit10},
                                         {"##hx&", V::Edit10},
                                     }},
                                     kZone, kMiddle, kInner, kPlacement, kCommon);

constexpr auto kUnequalRodRows = Join(kBuilding,
                                      Own<18>{{
                                          {"##h1&", V::Edit8},
                                          {"##h2&", V::Edit9},
                                          {"##ld&", V::Edit10},
                                          {"##hx&", V::Edit11},
                                          {"##hx&", V::Edit11},
                                          {"##01&", V::H01},
                                          {"##r1&", V::R01},
                                          {"##x1&", V::Edit13},
                                          {"##x1&", V::Edit13},
                                          {"##02&", V::H02},
                                          {"##r2&", V::R02},
                                          {"##x2&", V::Edit14},
                                          {"##x2&", V::Edit14},
                                          {"##c1&", V::Hc1},
                                          {"##c2&", V::Hc2},
                                          {"##hc&", V::Edit15},
                                          {"##rc&", V::Edit16},
                                          {"##cx&", V::Edit17},
                                      }},
                                      kInner, kPlacement, kCommon);

// The single catenary: hx, the zone with its r0 and rx written more often,
// the doubled radii, and its sag and cable height.
constexpr auto kSingleCatenaryRows = Join(kBuilding, kSupports,
                                          Own<16>{{
                                              {"##hx&", V::Edit10},
                                              {"##hx&", V::Edit10},
                                              {"##h0&", V::Edit13},
                                              {"##h0&", V::Edit13},
                                              {"##r0&", V::Edit14},
                                              {"##r0&", V::Edit14},
                                              {"##r0&", V::Edit14},
                                              {"##r0&", V::Edit14},
                                              {"##r0&", V::Edit14},
                                              {"##rx&", V::Edit15},
                                              {"##rx&", V::Edit15},
                                              {"##rx&", V::Edit15},
                                              {"##rx&", V::Edit15},
                                              {"#2rx&", V::DoubledRx},
                                              {"#2r0&", V::DoubledR0},
                                              {"##ch&", V::CableNumbers},
                                          }},
                                          kPlacement, kCommon);

constexpr auto kDoubleCatenaryRows = Join(kBuilding, kSupports,
                                          Own<4>{{
                                              {"##ld&", V::Edit10},
                                              {"##hx&", V::Edit11},
                                              {"##hx&", V::Edit11},
                                              {"##ch&", V::CableNumbers},
                                          }},
                                          kZone, kMiddle,
                                          Own<1>{{
                                              {"##rp&", V::Rpx},
                                          }},
                                          kInner, kPlacement, kCommon);

// A system of rods: its tables' columns, each tag filled once with all the
// lines of its column; the formulas, the inner case and the drawing's
// section are those of the critical pair.
constexpr auto kRodSystemRows =
    Join(kBuilding,
         Own<22>{{
             {"##hx&", V::SystemHx},     {"##hx&", V::SystemHx},   {"##nr&", V::RodCount},
             {"##nr&", V::RodCount},     {"##np&", V::PairCount},  {"##np&", V::PairCount},
             {"##sn&", V::RodNumbers},   {"##sn&", V::RodNumbers}, {"##sx&", V::RodX},
             {"##sy&", V::RodY},         {"##sh&", V::RodH},       {"##s0&", V::RodH0},
             {"##sr&", V::RodR0},        {"##sq&", V::RodRx},      {"##qn&", V::PairNames},
             {"##ql&", V::PairL},        {"##qk&", V::PairCases},  {"##qh&", V::PairHc},
             {"##qr&", V::PairRc},       {"##qx&", V::PairRcx},    {"##kp&", V::CriticalPair},
             {"##kp&", V::CriticalPair},
         }},
         Own<1>{{{"##mr&", V::LeastRcx}}}, kInner, kCommon);

// By rod type code 1 to 6.
constexpr ReportTable kTables[] = {
    {"otchet1.rtf", kSingleRodRows},      {"otchet2.rtf", kDoubleRodRows},
    {"otchet3.rtf", kUnequalRodRows},     {"otchet4.rtf", kSingleCatenaryRows},
    {"otchet5.rtf", kDoubleCatenaryRows}, {"otchet6.rtf", kRodSystemRows},
};

} // namespace

const ReportTable* ReportTableFor(std::int32_t code) {
    return code >= 1 && code <= static_cast<std::int32_t>(std::size(kTables)) ? &kTables[code - 1]
                                                                              : nullptr;
}

QStringList ReportSetup::searchPaths(const QString& applicationDir) {
    return DataPaths(applicationDir, folderName());
}

QString ReportSetup::locate(const QString& applicationDir) {
    return FirstExisting(searchPaths(applicationDir), &QFileInfo::isDir);
}

ReportMaker::ReportMaker(ReportSetup& setup, Dialogs& dialogs, TForm7& progress)
    : setup_(setup), dialogs_(dialogs), progress_(progress) {}

void ReportMaker::fail(QWidget* owner, const QString& text) {
    progress_.hide();
    dialogs_.message(owner, text);
}

void ReportMaker::make(std::int32_t code, const Values& values, const Drawing& drawing,
                       QWidget* owner) {
    WordAutomation& word = setup_.word;
    // The word processor works hidden until the document is complete.
    WordOutcome started = word.StartWord();
    if (started)
        started = word.SetWordVisible(false);
    if (!started)
        return fail(owner, QStringLiteral("Отчёт не составлен: %1.").arg(started.reason()));
    const ReportTable* table = ReportTableFor(code);
    if (!table)
        return fail(owner, QStringLiteral("Отчёт составляется после выбора типа молниеотвода."));
    progress_.start(owner);
    const QString path = QDir(setup_.templateFolder).filePath(QLatin1String(table->templateFile));
    if (const WordOutcome filled = fill(*table, path, values, drawing); !filled)
        return fail(owner, QStringLiteral("Отчёт не составлен: %1.").arg(filled.reason()));
    const WordOutcome shown = word.SetWordVisible(true);
    progress_.hide();
    if (!shown)
        tellWhereKept(owner, shown.reason());
}

WordOutcome ReportMaker::fill(const ReportTable& table, const QString& path, const Values& values,
                              const Drawing& drawing) {
    WordAutomation& word = setup_.word;
    if (WordOutcome opened = word.OpenDocument(path); !opened)
        return opened;
    // The drawing goes in as a PNG, in true colour as painted.
    QByteArray png;
    if (const QImage image = drawing ? drawing() : QImage(); !image.isNull())
        png = DrawingPng(image);
    // Each replacement searches from the start of the document, so the k-th
    // replacement of a tag fills its k-th occurrence.
    const auto rows = static_cast<int>(table.rows.size());
    for (int i = 0; i < rows; ++i) {
        const Replacement& row = table.rows[static_cast<size_t>(i)];
        const QString tag = QString::fromLatin1(row.tag);
        WordOutcome done = word.ResetSelection();
        if (done && row.value == ReportValue::Picture && !png.isEmpty())
            done = word.ReplaceTagWithPicture(tag, png, kPicturePixels, kPictureTwips);
        else if (done)
            done = word.ReplaceTag(tag, values(row.value));
        if (!done)
            return done;
        progress_.setProgress(100 * (i + 1) / rows);
    }
    return {};
}

// The filled report could not be shown: where it was saved instead, or why
// it was not.
void ReportMaker::tellWhereKept(QWidget* owner, const QString& reason) {
    const QString file = setup_.word.DocumentFile();
    if (file.isEmpty() || !QFileInfo(file).isFile()) {
        dialogs_.message(owner, QStringLiteral("Отчёт не сохранён: %1.").arg(reason));
        return;
    }
    const QString where = QDir::toNativeSeparators(file);
    dialogs_.message(owner, setup_.word.CanShow()
                                ? QStringLiteral("Отчёт не удалось показать в текстовом "
                                                 "процессоре. Отчёт сохранён в файле «%1».")
                                      .arg(where)
                                : QStringLiteral("Не найден текстовый процессор, чтобы "
                                                 "показать отчёт. Отчёт сохранён в файле «%1».")
                                      .arg(where));
}

} // namespace vostrel
