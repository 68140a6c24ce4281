// The report: for each rod type the template and which tag each design value
// fills, and the filling of a template through the word processor while the
// progress window runs.
#pragma once

#include "report/automation.h"

#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <span>

class QWidget;

namespace vostrel {

class Dialogs;
class TForm7;

// Where a replacement's value comes from: a field of the main window, by its
// name; a number of the last completed zone calculation, in the one-decimal
// format; or a sentence the program writes about the design.
enum class ReportValue : std::uint8_t {
    Edit1, // building width S
    Edit2, // building length L
    Edit3, // greatest building height h
    Edit4, // expected strikes a year N
    Edit5, // zone letter
    Edit6, // location
    Edit7, // protection category
    Memo1, // kind of building
    Edit8, // rod page inputs, in the order of the rod type's rows
    Edit9,
    Edit10,
    Edit11,
    Edit13, // rod page results
    Edit14,
    Edit15,
    Edit16,
    Edit17,
    Edit18,
    DoubledRx,    // 2rx
    DoubledR0,    // 2r0
    Hours,        // thunderstorm duration of the map's legend entry, h
    Density,      // its strike density n
    CableNumbers, // catenaries: h = hоп − 2 with the numbers
    H01,          // unequal rods: the first rod's zone
    R01,
    H02, // the second rod's zone
    R02,
    Hc1, // hc of two rods of each height
    Hc2,
    Rpx,        // double catenary: r′x
    Case,       // the instruction's case of the inner region
    Conclusion, // whether objects of height hx are protected
    Verdict,    // whether the building lies in the zone
    Warning,    // what the values shown lack: a calculation, or one of these inputs
    Picture,    // the drawing of the zone
    // The formulas with the design's numbers: N's, and under each formula
    // of zone А (of zone Б) a line break and its numbers when that zone
    // applies, else nothing; the inner region's case, one line each.
    NumbersN,
    NumbersH0A,
    NumbersR0A,
    NumbersRxA,
    NumbersH0B,
    NumbersR0B,
    NumbersRxB,
    NumbersInner,
    // The rods' placement on the site plan: x, y (m) and the angle of their
    // axis against x (°), as the drawing shows it.
    PlacementX,
    PlacementY,
    PlacementAngle,
    // A system of rods: hx and the counts of rods and of neighbouring pairs;
    // the columns of the rods' and pairs' tables, a line for each rod (pair);
    // the pair with the least rcx, whose numbers the formulas show, and that rcx.
    SystemHx,
    RodCount,
    PairCount,
    RodNumbers,
    RodX,
    RodY,
    RodH,
    RodH0,
    RodR0,
    RodRx,
    PairNames,
    PairL,
    PairCases,
    PairHc,
    PairRc,
    PairRcx,
    CriticalPair,
    LeastRcx,
};

struct Replacement {
    const char* tag;
    ReportValue value;
};

// A rod type's report: its template in the template folder and the
// replacements in the order they are made; the k-th replacement of a tag
// fills its k-th occurrence in the template.
struct ReportTable {
    const char* templateFile;
    std::span<const Replacement> rows;
};

// The report of rod type `code`; none for a type without one.
const ReportTable* ReportTableFor(std::int32_t code);

// What the report takes from outside: the word processor and the folder
// "отчёт" of the templates, which is only ever read.
struct ReportSetup {
    WordAutomation& word;
    QString templateFolder;

    // The folder's name beside the program.
    static QString folderName() { return QStringLiteral("отчёт"); }
    // Where it is looked for: beside the program, then the data directory
    // beside an installed program, then the data directory it was built for.
    static QStringList searchPaths(const QString& applicationDir);
    // The first of searchPaths() that exists, else the one beside the program.
    static QString locate(const QString& applicationDir);
};

// Fills a rod type's template with the design's values and shows it.
class ReportMaker {
public:
    using Values = std::function<QString(ReportValue)>;
    // The drawing of the zone, or a null image when there is none.
    using Drawing = std::function<QImage()>;

    ReportMaker(ReportSetup& setup, Dialogs& dialogs, TForm7& progress);

    // The report of rod type `code`, its values read from `values` as each
    // replacement is attempted, the picture tag filled with `drawing` (or,
    // without one, with the text `values` gives it); messages and the
    // progress window over `owner`.
    void make(std::int32_t code, const Values& values, const Drawing& drawing, QWidget* owner);

    // The drawing's size in the report, twips (16 x 10 cm), and in pixels.
    static constexpr QSize kPictureTwips{9072, 5670};
    static constexpr QSize kPicturePixels{1260, 788};

private:
    // Opens the template and makes the table's replacements while the bar
    // runs from 0 to 100; stops at the first failure.
    WordOutcome fill(const ReportTable& table, const QString& path, const Values& values,
                     const Drawing& drawing);
    void fail(QWidget* owner, const QString& text);
    void tellWhereKept(QWidget* owner, const QString& reason);

    ReportSetup& setup_;
    Dialogs& dialogs_;
    TForm7& progress_;
};

} // namespace vostrel
