// The catalogue of building types: an SQLite database opened read-only, its
// table read once at opening in the order the database returns the rows, and a current
// row that moves one back or forward.
#pragma once

#include "calc/outcome.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

namespace vostrel {

struct CatalogueRow {
    QString key1;     // building-type code as text
    QString building; // "Здания и сооружения"
    QString location; // "Местоположение"
    QString category; // "Категория молниезащиты"
};

class Catalogue {
public:
    // File name of the catalogue beside the program.
    static QString fileName() { return QStringLiteral("db1.sqlite"); }

    // Where the catalogue is looked for, in order: the working directory, the
    // program's directory, the data directory beside an installed program, the
    // data directory the program was built for.
    static QStringList searchPaths(const QString& applicationDir);
    // The first of searchPaths() that exists, else the working-directory one.
    static QString locate(const QString& applicationDir);

    // Opens the database and reads table "Таблица1"; the first row becomes
    // current. Fails, naming the file and the reason, when the file is
    // missing, is not a database, or lacks the table or one of its fields.
    static Outcome<Catalogue, QString> open(const QString& path);

    bool atFirst() const { return current_ == 0; }
    bool atLast() const { return rows_.empty() || current_ + 1 == rows_.size(); }
    // The current row; empty texts when the table has no rows.
    CatalogueRow current() const;
    void prior();
    void next();
    // Makes the row of building-type code `code` current; false, and the
    // current row kept, when the table has none.
    bool find(std::int32_t code);

private:
    explicit Catalogue(std::vector<CatalogueRow> rows) : rows_(std::move(rows)) {}
    // The table's rows, or SQLite's reason why they cannot be read.
    static Outcome<std::vector<CatalogueRow>, QString> read(const QString& path);

    std::vector<CatalogueRow> rows_;
    size_t current_ = 0;
};

} // namespace vostrel
