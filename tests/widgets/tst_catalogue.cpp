// Opening the catalogue and the map image, and confirming unusual rows.
#include "fixture.h"

#include "windows/catalogue.h"
#include "windows/jpeg.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <sqlite3.h>

using namespace vostrel;

namespace {
// Writes an SQLite file from SQL statements; returns its path.
QString MakeDatabase(const QTemporaryDir& dir, const QString& name, const QStringList& sql) {
    const QString path = dir.filePath(name);
    sqlite3* db = nullptr;
    if (sqlite3_open(QFile::encodeName(path).constData(), &db) != SQLITE_OK)
        qFatal("cannot create %s", qPrintable(path));
    for (const QString& statement : sql)
        if (sqlite3_exec(db, statement.toUtf8().constData(), nullptr, nullptr, nullptr) !=
            SQLITE_OK)
            qFatal("%s: %s", qPrintable(statement), sqlite3_errmsg(db));
    sqlite3_close(db);
    return path;
}

const QString kTable = "CREATE TABLE \"Таблица1\" (key1 INTEGER, \"Здания и сооружения\" TEXT, "
                       "\"Местоположение\" TEXT, \"Категория молниезащиты\" TEXT)";

QString ErrorOf(const QString& path) {
    const Outcome<Catalogue, QString> catalogue = Catalogue::open(path);
    return catalogue ? QString() : catalogue.reason();
}
} // namespace

class TestCatalogue : public QObject {
    Q_OBJECT
private slots:
    void refusedCatalogues();
    void searchOrder();
    void rowsInDatabaseOrder();
    void emptyTable();
    void codeWithoutRule();
    void mapImage();
    void damagedImages();

private:
    QTemporaryDir dir_;
};

void TestCatalogue::refusedCatalogues() {
    const QString missing = ErrorOf(dir_.filePath("nowhere.sqlite"));
    QVERIFY2(missing.contains("nowhere.sqlite") && missing.contains("файл не найден"),
             qPrintable(missing));
    QVERIFY(!QFile::exists(dir_.filePath("nowhere.sqlite"))); // not created either

    QFile text(dir_.filePath("text.sqlite"));
    QVERIFY(text.open(QIODevice::WriteOnly));
    text.write(QByteArray(4096, 'x'));
    text.close();
    QVERIFY(ErrorOf(text.fileName()).contains("file is not a database"));

    const QString noTable = MakeDatabase(dir_, "notable.sqlite", {"CREATE TABLE other (a)"});
    QVERIFY2(ErrorOf(noTable).contains("no such table"), qPrintable(ErrorOf(noTable)));

    const QString noField =
        MakeDatabase(dir_, "nofield.sqlite",
                     {"CREATE TABLE \"Таблица1\" (key1 INTEGER, \"Здания и сооружения\" TEXT, "
                      "\"Местоположение\" TEXT)"});
    QVERIFY2(ErrorOf(noField).contains("Категория молниезащиты"), qPrintable(ErrorOf(noField)));

    // The window set does not come up without its catalogue.
    RecordingDialogs dialogs;
    RecordingWord word;
    Services services{dialogs, NumberText(","), noTable};
    ReportSetup report{word, QString()};
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, WindowSet windows(services, report));
}

void TestCatalogue::searchOrder() {
    const QStringList paths = Catalogue::searchPaths("/opt/vostrel/bin");
    QCOMPARE(paths.size(), 4);
    QCOMPARE(paths[0], QDir::current().filePath("db1.sqlite"));
    QCOMPARE(paths[1], "/opt/vostrel/bin/db1.sqlite");
    QCOMPARE(QDir::cleanPath(paths[2]), "/opt/vostrel/share/vostrel/db1.sqlite");
    // Found beside the program when the working directory has none.
    const QString appDir = QFileInfo(QStringLiteral(VOSTREL_TEST_CATALOGUE)).absolutePath();
    QDir::setCurrent(dir_.path());
    QCOMPARE(Catalogue::locate(appDir), QDir(appDir).filePath("db1.sqlite"));
}

void TestCatalogue::rowsInDatabaseOrder() {
    const QString path = MakeDatabase(
        dir_, "order.sqlite",
        {kTable, "INSERT INTO \"Таблица1\" VALUES (9, 'девять', 'м9', 'II')",
         "INSERT INTO \"Таблица1\" VALUES (3, 'три', 'м3', 'II')",
         "INSERT INTO \"Таблица1\" VALUES (12, 'двенадцать\nвторая строка', 'м12', 'III')"});
    Outcome<Catalogue, QString> opened = Catalogue::open(path);
    QVERIFY(opened);
    Catalogue c = std::move(opened).value();
    QVERIFY(c.atFirst());
    QCOMPARE(c.current().key1, "9");
    c.prior();
    QCOMPARE(c.current().key1, "9");
    c.next();
    c.next();
    QVERIFY(c.atLast());
    QCOMPARE(c.current().building, "двенадцать\nвторая строка");
    c.next();
    QCOMPARE(c.current().key1, "12");
}

void TestCatalogue::emptyTable() {
    Program p(",", MakeDatabase(dir_, "empty.sqlite", {kTable}));
    BuildingTypeWindow& w = p.form5;
    w.form.showOver(&p.window1);
    QVERIFY(!w.NavPrior->isEnabled());
    QVERIFY(!w.NavNext->isEnabled());
    p.form1.Edit4->setText("0,02457");
    Click(w.BitBtn1);
    QCOMPARE(p.dialogs.texts(), QStringList{"'' is not a valid integer value."});
    QVERIFY(w.form.isVisible());
    QCOMPARE(w.Label3->text(), "Label3");
}

void TestCatalogue::codeWithoutRule() {
    Program p(",", MakeDatabase(dir_, "odd.sqlite",
                                {kTable, "INSERT INTO \"Таблица1\" VALUES (15, 'вне', 'где', 'IV')",
                                 "INSERT INTO \"Таблица1\" VALUES (4, 'склад', 'там', 'III')"}));
    BuildingTypeWindow& w = p.form5;
    MainWindow& f = p.form1;
    w.form.showOver(&f.form);
    f.Edit4->setText("2,50000");
    // First confirmation of the run with no rule: flags 0, no letter, open.
    Click(w.BitBtn1);
    QCOMPARE(f.Memo1->toPlainText(), "вне");
    QCOMPARE(f.Edit6->text(), "где");
    QCOMPARE(f.Edit7->text(), "IV");
    QCOMPARE(f.Edit5->text(), QString());
    QCOMPARE(w.Label3->text(), "0");
    QCOMPARE(w.Label4->text(), "0");
    QVERIFY(w.form.isVisible());
    // Code 4 above 2 sets zone A and closes; code 15 again keeps it.
    Click(w.NavNext);
    Click(w.BitBtn1);
    QCOMPARE(f.Edit5->text(), "       А");
    QVERIFY(w.form.isHidden());
    w.form.showOver(&f.form);
    Click(w.NavPrior);
    QTest::keyClick(&w.form, Qt::Key_Return); // the default button
    QCOMPARE(f.Edit5->text(), "       А");
    QCOMPARE(w.Label3->text(), "1");
    QCOMPARE(w.Label4->text(), "0");
    QCOMPARE(f.Memo1->toPlainText(), "вне");
    QVERIFY(w.form.isVisible());
    QVERIFY(p.dialogs.shown.isEmpty());
}

void TestCatalogue::mapImage() {
    const QImage map = DecodeJpeg(MapJpeg()).value();
    QCOMPARE(map.size(), QSize(750, 550));
    // The dark line above the legend, across the whole width.
    for (int x = 0; x < 750; x += 50)
        QVERIFY(qGray(map.pixel(x, 464)) < 80 && qGray(map.pixel(x, 465)) < 80);
    // Decoded by libjpeg exactly as Qt's own reader decodes it (both use it).
    QImage viaQt;
    QVERIFY(viaQt.loadFromData(MapJpeg(), "JPEG"));
    QCOMPARE(map.convertToFormat(QImage::Format_RGB32),
             viaQt.convertToFormat(QImage::Format_RGB32));
}

void TestCatalogue::damagedImages() {
    const QByteArray map = MapJpeg();
    QVERIFY(map.size() > 50000);
    QVERIFY(!DecodeJpeg(QByteArray()));
    QVERIFY(!DecodeJpeg(QByteArray(1000, '\x55')));
    QVERIFY(!DecodeJpeg(map.left(map.size() / 2)));
    QVERIFY(!DecodeJpeg(map.left(300)));
    QByteArray scrambled = map;
    for (qsizetype i = 2000; i < scrambled.size(); i += 97)
        scrambled[i] = static_cast<char>(scrambled[i] ^ 0x5A);
    const Outcome<QImage, QString> decoded = DecodeJpeg(scrambled);
    QVERIFY2(!decoded, "a scrambled image was decoded");
    QVERIFY(!decoded.reason().isEmpty());
    // A header claiming a huge image is refused before anything is allocated.
    QImage small(8, 8, QImage::Format_RGB32);
    small.fill(Qt::red);
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    QVERIFY(small.save(&buffer, "JPEG"));
    QCOMPARE(DecodeJpeg(jpeg)->size(), QSize(8, 8));
    const qsizetype sof = jpeg.indexOf("\xFF\xC0");
    QVERIFY(sof > 0);
    jpeg[sof + 5] = jpeg[sof + 6] = jpeg[sof + 7] = jpeg[sof + 8] = '\xFF'; // 65535 x 65535
    QVERIFY(!DecodeJpeg(jpeg));
}

QTEST_MAIN(TestCatalogue)
#include "tst_catalogue.moc"
