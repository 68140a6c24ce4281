// The report: for each rod type the template and which tag each design value
// fills, and the filling of a template through the word processor while the
// progress window runs.
#pragma once

#include "report/automation.h"

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
// name, or a number the zone calculation keeps.
enum class ReportValue : std::uint8_t {
    Edit1, // building width S
    Edit2, // building length L
    Edit3, // greatest building height h
    Edit4, // expected strikes a year N
    Edit5, // zone letter
    Edit7, // protection category
    Edit8, // rod page inputs
    Edit9,
    Edit10,
    Edit11,
    Edit13, // rod page results
    Edit14,
    Edit15,
    Edit16,
    Edit17,
    Edit18,
    DoubledRx, // 2rx, one decimal
    DoubledR0, // 2r0, one decimal
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

// A failed replacement is attempted this many times before the report stops.
inline constexpr int kReplaceAttempts = 3;

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

    ReportMaker(ReportSetup& setup, Dialogs& dialogs, TForm7& progress);

    // The report of rod type `code`, its values read from `values` as each
    // replacement is attempted; messages and the progress window over `owner`.
    void make(std::int32_t code, const Values& values, QWidget* owner);

private:
    void step(int value);
    void fail(QWidget* owner, const QString& text);

    ReportSetup& setup_;
    Dialogs& dialogs_;
    TForm7& progress_;
};

} // namespace vostrel
