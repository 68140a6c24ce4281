// The word processor over the shipped template: the filled document as
// LibreOffice reads it, and the template left untouched.
#include "report/report.h"
#include "report/wordapp.h"

#include <QCryptographicHash>
#include <QProcess>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using namespace vostrel;

namespace {
// Records what it is asked to show.
class FakeViewer final : public DocumentViewer {
public:
    bool available = true;
    QStringList shown;
    bool canShow() const override { return available; }
    bool show(const QString& file) override {
        shown << file;
        return true;
    }
};

QByteArray Hash(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

// The worked example: zone B, 12 x 36 x 10 m at 40 h, catenary 20 / 60 / 10;
// each tag's value (the same for each of its occurrences).
const QMap<QString, QString> kValues{
    {"##ll&", "12"},
    {"##ss&", "36"},
    {"##hh&", "10"},
    {"##nn&", "0,02457"},
    {"##ka&", "III"},
    {"##zo&", "       Б"},
    {"##vi&", "20"},
    {"##aa&", "60"},
    {"##hx&", "10"},
    {"##h0&", "  16,6"},
    {"##r0&", "  30,6"},
    {"##rx&", "  12,1"},
    {"#2rx&", "24,2"},
    {"#2r0&", "61,2"},
    {"##ch&", "h = hоп − 2 = 20 − 2 = 18,0 м"},
    {"##nf&", "\nN = 0,02457"},
    {"##fh&", ""},
    {"##fr&", ""},
    {"##fx&", ""},
    {"##tg&", "40"},
    {"##dn&", "4,0"},
    {"##bt&", "Жилые дома"},
    {"##lo&", "В городе"},
    {"##cn&", "Вывод."},
    {"##vd&", "Здание в зоне."},
    {"##wr&", ""},
    {"##pc&", "Чертёж."},
};
} // namespace

class TestWordApp : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void fillsShippedTemplate();
    void fillsTemplateResavedByWriter();
    void withoutViewerSavesForUser();
    void routinesFailWithoutDocument();
    void failuresGiveTheirReason();
    void oldCopiesRemoved();

private:
    // Fills `templatePath` with kValues; returns the written file.
    QString fill(const QString& templatePath, FakeViewer& viewer);
    // The text LibreOffice reads from an RTF file.
    QString writerText(const QString& rtf);
    QString convert(const QString& file, const QString& filter, const QString& extension);

    QTemporaryDir dir_;
    QString office_;
};

void TestWordApp::initTestCase() {
    QStandardPaths::setTestModeEnabled(true);
    office_ = QStandardPaths::findExecutable("soffice");
}

QString TestWordApp::fill(const QString& templatePath, FakeViewer& viewer) {
    RtfAutomation word(viewer);
    if (!word.StartWord() || !word.SetWordVisible(false) || !word.OpenDocument(templatePath))
        return {};
    const auto rows = ReportTableFor(4)->rows;
    for (const Replacement& row : rows)
        if (!word.ResetSelection() || !word.ReplaceTag(row.tag, kValues.value(row.tag, "?")))
            return {};
    word.SetWordVisible(true);
    return word.DocumentFile();
}

QString TestWordApp::convert(const QString& file, const QString& filter, const QString& extension) {
    QProcess office;
    office.setWorkingDirectory(dir_.path());
    office.start(office_, {"-env:UserInstallation=file://" + dir_.filePath("profile"), "--headless",
                           "--convert-to", filter, "--outdir", dir_.path(), file});
    if (!office.waitForFinished(180000) || office.exitCode() != 0)
        return {};
    return dir_.filePath(QFileInfo(file).completeBaseName() + "." + extension);
}

QString TestWordApp::writerText(const QString& rtf) {
    QFile text(convert(rtf, "txt:Text (encoded):UTF8", "txt"));
    if (!text.open(QIODevice::ReadOnly))
        return {};
    // Writer's text export writes each of several blanks in a row as a
    // six-per-em space and a blank.
    return QString::fromUtf8(text.readAll()).replace(QString::fromUtf8("\u2006 "), " ");
}

void TestWordApp::fillsShippedTemplate() {
    const QString templatePath = VOSTREL_TEST_TEMPLATE;
    const QByteArray before = Hash(templatePath);
    FakeViewer viewer;
    const QString file = fill(templatePath, viewer);
    QVERIFY(!file.isEmpty());
    QCOMPARE(viewer.shown, QStringList{file});
    QVERIFY(QFileInfo(file).absoluteFilePath() != QFileInfo(templatePath).absoluteFilePath());
    QCOMPARE(Hash(templatePath), before); // opened read-only, never written
    QVERIFY(QFile::permissions(QFileInfo(file).absolutePath()) & QFile::ReadOwner);
    QVERIFY(!(QFile::permissions(QFileInfo(file).absolutePath()) & QFile::ReadOther));

    if (office_.isEmpty())
        QSKIP("LibreOffice is not installed");
    const QString text = writerText(file);
    QVERIFY2(!text.isEmpty(), "LibreOffice read nothing");
    QVERIFY2(!text.contains("##") && !text.contains("#2r"), qPrintable(text));
    // Each value where it belongs.
    const QStringList expected{
        "Ширина здания S, м\n12\n",
        "Длина здания L, м\n36\n",
        "Наибольшая высота здания h, м\n10\n",
        "Высота опор троса hоп, м\n20\n",
        "Длина пролёта троса a, м\n60\n",
        "Высота защищаемого уровня hx, м\n10\n",
        "N = 0,02457.",
        "Категория молниезащиты\nIII\n",
        "Тип зоны защиты\n       Б\n",
        "при длине пролёта a = 60 м",
        "h = hоп − 2 = 20 − 2 = 18,0 м.",
        "Вершина защищаемой зоны h0\n  16,6\n",
        "Радиус зоны защиты на уровне земли r0\n  30,6\n",
        "Радиус зоны защиты на высоте hx, rx\n  12,1\n",
        "Ширина зоны защиты на уровне земли 2r0\n61,2\n",
        "Ширина зоны защиты на высоте hx, 2rx\n24,2\n",
        "Вынос зоны за опору вдоль оси троса r0\n  30,6\n",
        "На высоте hx\nРасстояние от проекции троса до границы зоны rx\n  12,1\n",
        "Итог:\nВершина защищаемой зоны h0, м\t  16,6\n",
        "Радиус зоны защиты на высоте hx = 10 м, rx, м\t  12,1\n",
        "Жилые дома",
        "Вывод.",
        "Здание в зоне.",
    };
    for (const QString& piece : expected)
        QVERIFY2(text.contains(piece), qPrintable("missing: " + piece + "\n" + text));
}

void TestWordApp::fillsTemplateResavedByWriter() {
    if (office_.isEmpty())
        QSKIP("LibreOffice is not installed");
    // Writer splits runs and writes Cyrillic as \uN with fallbacks.
    QVERIFY(QFile::copy(VOSTREL_TEST_TEMPLATE, dir_.filePath("source.rtf")));
    const QString resaved = convert(dir_.filePath("source.rtf"), "rtf", "rtf");
    QFile::rename(resaved, dir_.filePath("resaved.rtf"));
    FakeViewer viewer;
    const QString file = fill(dir_.filePath("resaved.rtf"), viewer);
    QVERIFY(!file.isEmpty());
    const QString text = writerText(file);
    QVERIFY2(!text.contains("##") && !text.contains("#2r"), qPrintable(text));
    for (const QString& piece : {QString("N = 0,02457."), QString("Тип зоны защиты\n       Б\n"),
                                 QString("h = hоп − 2 = 20 − 2 = 18,0 м."),
                                 QString("Итог:\nВершина защищаемой зоны h0, м\t  16,6\n")})
        QVERIFY2(text.contains(piece), qPrintable("missing: " + piece + "\n" + text));
}

void TestWordApp::withoutViewerSavesForUser() {
    FakeViewer viewer;
    viewer.available = false;
    RtfAutomation word(viewer);
    QVERIFY(!word.StartWord());
    QVERIFY(word.OpenDocument(VOSTREL_TEST_TEMPLATE));
    QVERIFY(word.ResetSelection());
    QVERIFY(word.ReplaceTag("##ll&", "12"));
    QVERIFY(!word.SetWordVisible(true));
    const QString file = word.DocumentFile();
    QVERIFY(file.endsWith(".rtf"));
    QVERIFY(file.startsWith(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)));
    QVERIFY(QFile::exists(file));
    QVERIFY(viewer.shown.isEmpty());
    QFile::remove(file);
}

void TestWordApp::routinesFailWithoutDocument() {
    FakeViewer viewer;
    RtfAutomation word(viewer);
    // Nothing started: every routine fails quietly.
    QVERIFY(!word.ResetSelection());
    QVERIFY(!word.ReplaceTag("##ll&", "1"));
    QVERIFY(!word.OpenDocument(VOSTREL_TEST_TEMPLATE));
    QVERIFY(word.StartWord());
    // A template that is not there, or not RTF: nothing to replace in.
    QVERIFY(!word.OpenDocument(dir_.filePath("missing.rtf")));
    QVERIFY(!word.ReplaceTag("##ll&", "1"));
    QFile junk(dir_.filePath("junk.rtf"));
    QVERIFY(junk.open(QIODevice::WriteOnly));
    junk.write("{\\rtf1 unbalanced");
    junk.close();
    QVERIFY(!word.OpenDocument(junk.fileName()));
    QVERIFY(!word.ResetSelection());
    QVERIFY(!word.SetWordVisible(true));
    // A tag replaced as often as it occurs, then no more.
    QVERIFY(word.OpenDocument(VOSTREL_TEST_TEMPLATE));
    QVERIFY(word.ResetSelection());
    QVERIFY(word.ReplaceTag("##nn&", "0,5"));
    QVERIFY(word.ResetSelection());
    QVERIFY(!word.ReplaceTag("##nn&", "0,5"));
    QVERIFY(word.ResetSelection());
    QVERIFY(word.ReplaceTag("##vi&", "20"));
    QVERIFY(word.ReplaceTag("##vi&", "20")); // the second, further on
    QVERIFY(!word.ReplaceTag("##vi&", "20"));
}

void TestWordApp::failuresGiveTheirReason() {
    FakeViewer viewer;
    RtfAutomation word(viewer);
    QVERIFY(word.StartWord());
    // Templates: missing, unreadable (a folder), not RTF (cut short).
    const QString missing = dir_.filePath("missing.rtf");
    QVERIFY(!word.OpenDocument(missing));
    QCOMPARE(word.FailureReason(), "не найден шаблон «" + missing + "»");
    QVERIFY(QDir(dir_.path()).mkpath("folder.rtf"));
    QVERIFY(!word.OpenDocument(dir_.filePath("folder.rtf")));
    QVERIFY2(word.FailureReason().startsWith("не удалось прочитать шаблон «" +
                                             dir_.filePath("folder.rtf") + "»: "),
             qPrintable(word.FailureReason()));
    QFile shipped(VOSTREL_TEST_TEMPLATE), cut(dir_.filePath("cut.rtf"));
    QVERIFY(shipped.open(QIODevice::ReadOnly) && cut.open(QIODevice::WriteOnly));
    cut.write(shipped.read(shipped.size() / 2));
    cut.close();
    QVERIFY(!word.OpenDocument(cut.fileName()));
    QCOMPARE(word.FailureReason(),
             "шаблон «" + cut.fileName() + "» не является правильным документом RTF");

    // Folders that cannot be written: a file stands where each should be.
    const QByteArray home = qgetenv("HOME");
    const QString newHome = dir_.filePath("home");
    QVERIFY(QDir().mkpath(newHome));
    qputenv("HOME", newHome.toUtf8());
    const auto restore = qScopeGuard([&] { qputenv("HOME", home); });
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    if (!documents.startsWith(newHome) || !cache.startsWith(newHome))
        QSKIP("the documents or cache folder is not under HOME here");
    for (const QString& folder : {documents, cache.section('/', 0, newHome.count('/') + 1)}) {
        QFile blocker(folder);
        QVERIFY(blocker.open(QIODevice::WriteOnly));
    }
    // No viewer, documents folder unwritable: nothing is claimed.
    viewer.available = false;
    QVERIFY(!word.StartWord());
    QVERIFY(word.OpenDocument(VOSTREL_TEST_TEMPLATE));
    QVERIFY(!word.SetWordVisible(true));
    QCOMPARE(word.DocumentFile(), QString());
    QVERIFY2(word.FailureReason().startsWith("не удалось создать папку «" + documents + "»: "),
             qPrintable(word.FailureReason()));
    // A viewer, but the private folder cannot be made: the reason, no file.
    viewer.available = true;
    QVERIFY(word.StartWord());
    QVERIFY(word.OpenDocument(VOSTREL_TEST_TEMPLATE));
    QVERIFY(!word.SetWordVisible(true));
    QCOMPARE(word.DocumentFile(), QString());
    QVERIFY2(word.FailureReason().startsWith("не удалось создать папку «"),
             qPrintable(word.FailureReason()));
    QVERIFY(viewer.shown.isEmpty());
}

void TestWordApp::oldCopiesRemoved() {
    QTemporaryDir dir;
    const QDateTime now = QDateTime::currentDateTime();
    const auto make = [&](const QString& name, const QDateTime& time) {
        QFile file(dir.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.setFileTime(time, QFileDevice::FileModificationTime));
    };
    // 60 copies a minute apart; the third newest is 31 days old; and a file
    // of another kind, older still.
    for (int i = 0; i < 60; ++i)
        make(QString("otchet%1-%2.rtf").arg(i % 5 + 1).arg(i, 6, 10, QChar('a')),
             i == 3 ? now.addDays(-31) : now.addSecs(-60 * i));
    make("notes.rtf", now.addDays(-100));
    PruneReportCopies(dir.path(), 100, 30); // by age only
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 60);
    QVERIFY(!QFile::exists(dir.filePath("otchet4-aaaaa3.rtf")));
    PruneReportCopies(dir.path(), 50, 30);
    QStringList left = QDir(dir.path()).entryList(QDir::Files, QDir::Time);
    QCOMPARE(left.size(), 51); // the 50 newest less the old one, and the other file
    QVERIFY(left.contains("notes.rtf"));
    for (int i = 0; i < 60; ++i) {
        const QString name = QString("otchet%1-%2.rtf").arg(i % 5 + 1).arg(i, 6, 10, QChar('a'));
        QVERIFY2(left.contains(name) == (i <= 50 && i != 3), qPrintable(name));
    }
}

QTEST_MAIN(TestWordApp)
#include "tst_wordapp.moc"
