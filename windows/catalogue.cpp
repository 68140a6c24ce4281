#include "catalogue.h"

#include "ui/files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <sqlite3.h>
#include <stdexcept>

namespace vostrel {

namespace {
// Square brackets, not double quotes: SQLite reads a double-quoted name that
// matches no column as a string literal, and would hide a missing field.
const QString kQuery = QStringLiteral(
    "SELECT [key1], [Здания и сооружения], [Местоположение], [Категория молниезащиты] "
    "FROM [Таблица1]");

[[noreturn]] void fail(const QString& path, const QString& reason) {
    throw std::runtime_error(
        QStringLiteral("Не удалось открыть каталог типов зданий %1: %2")
            .arg(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()), reason)
            .toStdString());
}
} // namespace

QStringList Catalogue::searchPaths(const QString& applicationDir) {
    return QStringList{QDir::current().filePath(fileName())} +
           DataPaths(applicationDir, fileName());
}

QString Catalogue::locate(const QString& applicationDir) {
    return FirstExistingFile(searchPaths(applicationDir));
}

Catalogue::Catalogue(const QString& path) {
    // SQLite would create a missing file; it is refused here instead.
    if (!QFileInfo(path).isFile())
        fail(path, QStringLiteral("файл не найден"));
    const QString error = read(path);
    if (!error.isEmpty())
        fail(path, error);
}

// The SQLite library directly: the table is read once, and Qt's SQL module
// with its driver plugin would cost the program's start more than that.
QString Catalogue::read(const QString& path) {
    sqlite3* db = nullptr;
    const auto closeDb = qScopeGuard([&] { sqlite3_close(db); });
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr) !=
        SQLITE_OK)
        return db ? QString::fromUtf8(sqlite3_errmsg(db)) : QStringLiteral("нет памяти");
    sqlite3_stmt* query = nullptr;
    const auto finish = qScopeGuard([&] { sqlite3_finalize(query); });
    const QByteArray sql = kQuery.toUtf8();
    if (sqlite3_prepare_v2(db, sql.constData(), static_cast<int>(sql.size()), &query, nullptr) !=
        SQLITE_OK)
        return QString::fromUtf8(sqlite3_errmsg(db));
    const auto text = [&](int column) {
        const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(query, column));
        return QString::fromUtf8(bytes, sqlite3_column_bytes(query, column));
    };
    int step;
    while ((step = sqlite3_step(query)) == SQLITE_ROW)
        rows_.push_back({text(0), text(1), text(2), text(3)});
    return step == SQLITE_DONE ? QString() : QString::fromUtf8(sqlite3_errmsg(db));
}

Catalogue::~Catalogue() = default;

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

} // namespace vostrel
