// The report: which tag of the template each design value fills, and where
// the template is found.
#pragma once

#include <QString>
#include <QStringList>
#include <array>

namespace vostrel {

// Where each replacement's value comes from: a field of the main window by
// its name, or one of the doubled radii.
enum class ReportSource {
    Edit1,
    Edit2,
    Edit3,
    Edit4,
    Edit7,
    Edit5,
    Edit8,
    Edit9,
    Edit10,
    Edit13,
    Edit14,
    Edit15,
    DoubledRx,
    DoubledR0
};

struct Replacement {
    const char* tag;
    ReportSource source;
};

// The 25 replacements in the order they are made; the k-th replacement of a
// tag fills its k-th occurrence in the template.
inline constexpr std::array<Replacement, 25> kReplacements{{
    {"##ll&", ReportSource::Edit1},     {"##ss&", ReportSource::Edit2},
    {"##hh&", ReportSource::Edit3},     {"##nn&", ReportSource::Edit4},
    {"##ka&", ReportSource::Edit7},     {"##zo&", ReportSource::Edit5},
    {"##vi&", ReportSource::Edit8},     {"##vi&", ReportSource::Edit8},
    {"##aa&", ReportSource::Edit9},     {"##aa&", ReportSource::Edit9},
    {"##hx&", ReportSource::Edit10},    {"##hx&", ReportSource::Edit10},
    {"##h0&", ReportSource::Edit13},    {"##h0&", ReportSource::Edit13},
    {"##r0&", ReportSource::Edit14},    {"##r0&", ReportSource::Edit14},
    {"##r0&", ReportSource::Edit14},    {"##r0&", ReportSource::Edit14},
    {"##r0&", ReportSource::Edit14},    {"##rx&", ReportSource::Edit15},
    {"##rx&", ReportSource::Edit15},    {"##rx&", ReportSource::Edit15},
    {"##rx&", ReportSource::Edit15},    {"#2rx&", ReportSource::DoubledRx},
    {"#2r0&", ReportSource::DoubledR0},
}};

// A failed replacement is attempted this many times before the report stops.
inline constexpr int kReplaceAttempts = 3;

class ReportTemplate {
public:
    // The template's folder and file, in the program's directory.
    static QString relativePath() { return QStringLiteral("отчёт/otchet4.rtf"); }
    // Where it is looked for: beside the program, then the data directory
    // beside an installed program, then the data directory it was built for.
    static QStringList searchPaths(const QString& applicationDir);
    // The first of searchPaths() that exists, else the one beside the program.
    static QString locate(const QString& applicationDir);
};

} // namespace vostrel
