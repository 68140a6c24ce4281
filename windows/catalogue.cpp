#include "catalogue.h"

#include "ui/files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <sqlite3.h>

namespace vostrel {

namespace {
// Square brackets, not double quotes: SQLite reads a double-quoted name that
// matches no column as a string literal, and would hide a missing field.
const QString kQuery = QStringLiteral(
    "SELECT [key1], [Здания и сооружения], [Местоположение], [Категория молниезащиты] "
    "FROM [Таблица1]");

QString Refusal(const QString& path, const QString& reason) {
    return QStringLiteral("Не удалось открыть каталог типов зданий %1: %2")
        .arg(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()), reason);
}
} // namespace

QStringList Catalogue::searchPaths(const QString& applicationDir) {
    return QStringList{QDir::current().filePath(fileName())} +
           DataPaths(applicationDir, fileName());
}

QString Catalogue::locate(const QString& applicationDir) {
    return FirstExistingFile(searchPaths(applicationDir));
}

Outcome<Catalogue, QString> Catalogue::open(const QString& path) {
    // SQLite would create a missing file; it is refused here instead.
    if (!QFileInfo(path).isFile())
        return Failure(Refusal(path, QStringLiteral("файл не найден")));
    Outcome<std::vector<CatalogueRow>, QString> rows = read(path);
    if (!rows)
        return Failure(Refusal(path, rows.reason()));
    return Catalogue(std::move(rows).value());
}

// The SQLite library directly: the table is read once, and Qt's SQL module
// with its driver plugin would cost the program's start more than that.
Outcome<std::vector<CatalogueRow>, QString> Catalogue::read(const QString& path) {
    const auto failure = [](sqlite3* db) {
        return Failure(db ? QString::fromUtf8(sqlite3_errmsg(db)) : QStringLiteral("нет памяти"));
    };
    sqlite3* db = nullptr;
    const auto closeDb = qScopeGuard([&] { sqlite3_close(db); });
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr) !=
        SQLITE_OK)
        return failure(db);
    sqlite3_stmt* query = nullptr;
    const auto finish = qScopeGuard([&] { sqlite3_finalize(query); });
    const QByteArray sql = kQuery.toUtf8();
    if (sqlite3_prepare_v2(db, sql.constData(), static_cast<int>(sql.size()), &query, nullptr) !=
        SQLITE_OK)
        return failure(db);
    const auto text = [&](int column) {
        const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(query, column));
        return QString::fromUtf8(bytes, sqlite3_column_bytes(query, column));
    };
    std::vector<CatalogueRow> rows;
    int step;
    while ((step = sqlite3_step(query)) == SQLITE_ROW)
        rows.push_back({text(0), text(1), text(2), text(3)});
    if (step != SQLITE_DONE)
        return failure(db);
    return rows;
}

CatalogueRow Catalogue::current() const {
    return rows_.empty() ? CatalogueRow{} : rows_[current_];
}

void Catalogue::prior() {
    if (!atFirst())
        --current_;
}

void Catalogue::next() {
    if (!atLast())
        ++current_;
}

bool Catalogue::find(std::int32_t code) {
    for (size_t i = 0; i < rows_.size(); ++i) {
        bool isNumber = false;
        if (rows_[i].key1.trimmed().toInt(&isNumber) == code && isNumber) {
            current_ = i;
            return true;
        }
    }
    return false;
}

} // namespace vostrel
