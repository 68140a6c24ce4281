#include "catalogue.h"

#include "ui/files.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>
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
    return {
        QDir::current().filePath(fileName()),
        QDir(applicationDir).filePath(fileName()),
        QDir(applicationDir).filePath(QStringLiteral("../share/vostrel/") + fileName()),
        QDir(QStringLiteral(VOSTREL_DATADIR)).filePath(fileName()),
    };
}

QString Catalogue::locate(const QString& applicationDir) {
    return FirstExistingFile(searchPaths(applicationDir));
}

Catalogue::Catalogue(const QString& path)
    : connection_(QStringLiteral("catalogue-") +
                  QUuid::createUuid().toString(QUuid::WithoutBraces)) {
    // SQLite would create a missing file; it is refused here instead.
    if (!QFileInfo(path).isFile())
        fail(path, QStringLiteral("файл не найден"));
    const QString error = read(path);
    if (!error.isEmpty()) {
        QSqlDatabase::removeDatabase(connection_);
        fail(path, error);
    }
}

QString Catalogue::read(const QString& path) {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection_);
    if (!db.isValid())
        return QStringLiteral("нет драйвера SQLite для Qt (пакет libqt6sql6-sqlite)");
    db.setDatabaseName(path);
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
    if (!db.open())
        return db.lastError().text();
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.exec(kQuery))
        return query.lastError().text();
    while (query.next())
        rows_.push_back({query.value(0).toString(), query.value(1).toString(),
                         query.value(2).toString(), query.value(3).toString()});
    return query.lastError().isValid() ? query.lastError().text() : QString();
}

Catalogue::~Catalogue() {
    {
        QSqlDatabase db = QSqlDatabase::database(connection_, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(connection_);
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

} // namespace vostrel
