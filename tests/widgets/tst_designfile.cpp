// The design's file: saved and opened again in a fresh program under either
// separator, bad files refused with nothing changed, failed saves that keep
// the old file, and the question before changes not saved are lost.
#include "fixture.h"
#include "version.h"
#include "windows/rodtable.h"

#include <QAction>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMimeData>
#include <QTableWidget>
#include <QTemporaryDir>
#include <unistd.h>

using namespace vostrel;

namespace {
// Everything the window shows of a design, the separator written as "," and
// hidden fields as "-".
QStringList Shown(Program& p) {
    const MainWindow& f = p.form1;
    QStringList out;
    for (QLineEdit* e :
         {f.Edit1, f.Edit2, f.Edit3, f.Edit4, f.Edit5, f.Edit6, f.Edit7, f.Edit8, f.Edit9, f.Edit10,
          f.Edit11, f.Edit13, f.Edit14, f.Edit15, f.Edit16, f.Edit17, f.Edit18})
        out << (e->isHidden() ? QStringLiteral("-") : e->text());
    out << f.Memo1->toPlainText() << f.ComboBox1->currentText()
        << (f.TabSheet2->isVisible() ? "rod page" : "building page")
        << QString::number(p.form2.form.ThunderstormHours()) << QString::number(f.RodTypeCode())
        << QString::number(f.ZoneAFlag()) << QString::number(f.ZoneBFlag())
        << QString::number(f.DoubledRx(), 'f', 6) << QString::number(f.DoubledR0(), 'f', 6)
        << QString::number(f.Button2->isEnabled()) << QString::number(f.Button6->isEnabled());
    return out.replaceInStrings(".", ",");
}

// Runs a command of the "Файл" menu.
void Command(Program& p, const char* name) {
    QAction* action = p.window1.findChild<QAction*>(QLatin1String(name));
    QVERIFY2(action, name);
    action->trigger();
}

QByteArray Read(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

void Write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

// A design on the building page only, saved to `path`.
void SavedBuilding(Program& p, const QString& path) {
    TypeDimensions(p, "24", "60", "9");
    p.dialogs.fileName = path;
    Command(p, "FileSave");
    QCOMPARE(p.dialogs.shown.size(), 0);
}

const QByteArray kHead = R"({"format": "vostrel-design", "version": 1, )";
} // namespace

class TestDesignFile : public QObject {
    Q_OBJECT
private slots:
    void roundTrip_data();
    void roundTrip();
    void placementRoundTrip();
    void badFile_data();
    void badFile();
    void buildingTypeNotInCatalogue();
    void failedSave_data();
    void failedSave();
    void question_data();
    void question();
    void droppedFileOpens();
    void systemRoundTrip();
};

void TestDesignFile::roundTrip_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<bool>("zoneA");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<QStringList>("inputs");
    const QList<QStringList> inputs = {{"30,5", "10"},
                                       {"30", "40", "10"},
                                       {"30", "20", "35", "8"},
                                       {"20", "60,5", "9"},
                                       {"22", "60", "25", "6"}};
    for (int index = 0; index < 5; ++index)
        for (const bool zoneA : {true, false})
            for (const QString separator : {",", "."})
                QTest::addRow("type %d, zone %s, '%s'", index + 1, zoneA ? "A" : "B",
                              qPrintable(separator))
                    << index << zoneA << separator << inputs[index];
}

// Saved under one separator, opened in a fresh program under the other: the
// same fields, results and copies, and the title names the file.
void TestDesignFile::roundTrip() {
    QFETCH(int, index);
    QFETCH(bool, zoneA);
    QFETCH(QString, separator);
    QFETCH(QStringList, inputs);
    QTemporaryDir dir;
    QStringList before;
    QString saved;
    {
        Program p(separator);
        ToRodPage(p, zoneA, index);
        for (qsizetype i = 0; i < inputs.size(); ++i)
            Type(InputFields(p.form1)[i], Sep(inputs[i], separator));
        MoveOver(p.form1.GroupBox3, {200, 200});
        Click(p.form1.Button3);
        before = Shown(p);
        p.dialogs.clear();
        p.dialogs.fileName = dir.filePath("проект"); // the extension is added
        p.window1.activateWindow(); // the map and the catalogue took the activation
        QVERIFY(QTest::qWaitForWindowActive(&p.window1));
        QTest::keyClick(&p.window1, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(p.dialogs.texts(), QStringList());
        const QString building = zoneA ? "Здание 1000×2000×100.vostrel" : "Здание 12×36×10.vostrel";
        QCOMPARE(QFileInfo(p.dialogs.suggested.value(0)).fileName(), building);
        saved = dir.filePath("проект.vostrel");
        QVERIFY(QFileInfo(saved).isFile());
        QCOMPARE(p.window1.windowTitle(), QStringLiteral("проект[*] — ") + kTitle);
        QVERIFY(!p.window1.isWindowModified());
        Type(p.form1.Edit1, "0"); // a change is marked
        QVERIFY(p.window1.isWindowModified());
    }
    const QJsonObject json = QJsonDocument::fromJson(Read(saved)).object();
    QCOMPARE(json["rodType"].toInt(), index + 1);
    QCOMPARE(json["rodInputs"].toArray().first().toString(), inputs.first().replace(',', '.'));
    QCOMPARE(json["calculated"].toBool(), true);

    Program q(separator == "," ? "." : ",");
    q.window1.openFile(saved);
    QCOMPARE(Shown(q), before);
    QCOMPARE(q.window1.windowTitle(), QStringLiteral("проект[*] — ") + kTitle);
    QVERIFY(!q.window1.isWindowModified());
    for (const RecordingDialogs::Shown& shown : q.dialogs.shown)
        QVERIFY2(shown.kind == RecordingDialogs::Shown::Message, qPrintable(shown.text));
}

// The placement typed in the drawing window marks the design changed, is
// saved, and comes back with its verdict in a fresh program; "Новый" centres
// the rods again.
void TestDesignFile::placementRoundTrip() {
    QTemporaryDir dir;
    const QString saved = dir.filePath("размещение.vostrel");
    QString verdict;
    {
        Program p(",");
        ToRodPage(p, false, 0);
        Calculate(p, {"30", "10"});
        Click(p.form1.Button6);
        p.dialogs.fileName = saved;
        Command(p, "FileSave");
        QVERIFY(!p.window1.isWindowModified());
        for (const auto& [edit, text] :
             {std::pair{p.form8.Edit1, "40,25"}, std::pair{p.form8.Edit2, "-3"},
              std::pair{p.form8.Edit3, "30"}}) {
            edit->selectAll();
            QTest::keyClicks(edit, text);
        }
        QVERIFY(p.window1.isWindowModified());
        verdict = p.form8.Label4->text();
        Command(p, "FileSave");
        QCOMPARE(p.dialogs.texts(), QStringList());
    }
    const QJsonObject placement =
        QJsonDocument::fromJson(Read(saved)).object()["placement"].toObject();
    QCOMPARE(placement["x"].toDouble(), 40.25);
    QCOMPARE(placement["y"].toDouble(), -3.0);
    QCOMPARE(placement["angle"].toDouble(), 30.0);

    Program q(".");
    q.window1.openFile(saved);
    QVERIFY(!q.window1.isWindowModified());
    Click(q.form1.Button6);
    QCOMPARE(QStringList({q.form8.Edit1->text(), q.form8.Edit2->text(), q.form8.Edit3->text()}),
             QStringList({"40.25", "-3.00", "30.00"}));
    QCOMPARE(q.form8.Label4->text(), QString(verdict).replace(',', '.'));
    QVERIFY(verdict.contains(QStringLiteral("выходит из зоны защиты")));

    q.dialogs.answer = Dialogs::Answer::No;
    Command(q, "FileNew");
    ToRodPage(q, false, 0);
    Calculate(q, {"30", "10"});
    Click(q.form1.Button6);
    QCOMPARE(QStringList({q.form8.Edit1->text(), q.form8.Edit2->text(), q.form8.Edit3->text()}),
             QStringList({"18.00", "6.00", "0.00"}));
}

void TestDesignFile::badFile_data() {
    QTest::addColumn<QByteArray>("content"); // "": the path is a folder
    QTest::addColumn<QString>("reason");
    QTest::newRow("folder") << QByteArray() << "это не файл, а папка или устройство";
    QTest::newRow("not JSON") << QByteArray("{\"format\": ") << "содержимое не JSON";
    QTest::newRow("other format") << QByteArray(R"({"format": "other", "version": 1})")
                                  << "это не файл проекта Vostrel";
    QTest::newRow("higher version")
        << QByteArray(R"({"format": "vostrel-design", "version": 2})")
        << "файл версии 2 сохранён более новой программой; эта читает версию 1";
    QTest::newRow("wrong type") << kHead + R"("building": {"width": 24}})"
                                << "значение «building.width» должно быть текстом";
    QTest::newRow("not a number") << kHead + R"("rodType": 1, "rodInputs": ["30", "1,5"]})"
                                  << "значение «rodInputs[1]» («1,5») не число";
    QTest::newRow("class not on the legend")
        << kHead + R"("thunderstormHours": 30})"
        << "значения «thunderstormHours» 30 нет на карте (5, 10, 20, 40, 60, 80, 100 или 140)";
    QTest::newRow("rod type 7") << kHead + R"("rodType": 7})"
                                << "значение «rodType» 7 не тип молниеотвода (1–6)";
    QTest::newRow("too many inputs")
        << kHead + R"("rodType": 1, "rodInputs": ["30", "10", "5"]})"
        << "в «rodInputs» 3 значений, а выбранный тип молниеотвода принимает 2";
    QTest::newRow("placement not a number")
        << kHead + R"("placement": {"x": "9", "y": 0, "angle": 0}})"
        << "значение «placement.x» должно быть числом";
    QTest::newRow("placement far off") << kHead + R"("placement": {"x": 9, "y": -1e5, "angle": 0}})"
                                       << "значение «placement.y» больше 10 000 по модулю";
    QTest::newRow("over 1 MB") << kHead + R"("pad": ")" + QByteArray(1024 * 1024, 'x') + "\"}"
                               << "файл больше 1 МБ";
}

// A bad file is refused with its reason and the file's name; the design
// shown, its file and its title stay as they were.
void TestDesignFile::badFile() {
    QFETCH(QByteArray, content);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    Program p(",");
    SavedBuilding(p, dir.filePath("здание.vostrel"));
    Type(p.form1.Edit3, "5");
    const QStringList before = Shown(p);
    const QString bad = dir.filePath("плохой.vostrel");
    if (content.isEmpty())
        QVERIFY(QDir(dir.path()).mkdir("плохой.vostrel"));
    else
        Write(bad, content);
    p.dialogs.fileName = bad;
    p.dialogs.answer = Dialogs::Answer::No; // changes given up for the file to open
    QTest::keyClick(&p.window1, Qt::Key_O, Qt::ControlModifier);
    QCOMPARE(p.dialogs.shown.size(), 1);
    const QString shown = p.dialogs.texts().front();
    QVERIFY2(shown.startsWith(QStringLiteral("Файл «%1» не открыт: %2").arg(bad, reason)) &&
                 shown.endsWith("."),
             qPrintable(shown));
    QCOMPARE(p.dialogs.shown.front().kind, RecordingDialogs::Shown::Error);
    QCOMPARE(Shown(p), before);
    QCOMPARE(p.window1.windowTitle(), QStringLiteral("здание[*] — ") + kTitle);
    QVERIFY(p.window1.isWindowModified());
}

void TestDesignFile::buildingTypeNotInCatalogue() {
    QTemporaryDir dir;
    const QString path = dir.filePath("d.vostrel");
    Write(path, kHead + R"("building": {"width": "12", "length": "36", "height": "10"},
        "thunderstormHours": 40, "buildingType": 99, "rodType": 2,
        "rodInputs": ["30", "40", "10"], "calculated": true})");
    Program p(".");
    p.window1.openFile(path);
    QCOMPARE(p.dialogs.texts(),
             QStringList{"Типа здания с кодом 99 нет в каталоге: местоположение, категория "
                         "молниезащиты и тип зоны защиты не заполнены"});
    QCOMPARE(p.form1.Edit1->text(), "12");
    QCOMPARE(p.form1.Edit4->text(), "0.02457");
    QCOMPARE(p.form1.Memo1->toPlainText(), "");
    QCOMPARE(p.form1.ComboBox1->currentIndex(), 1);
}

void TestDesignFile::failedSave_data() {
    QTest::addColumn<QString>("target"); // relative to the folder
    QTest::addColumn<bool>("readOnlyFolder");
    QTest::newRow("a folder where the file should be") << "папка.vostrel" << false;
    QTest::newRow("a path under a file") << "здание.vostrel/новое.vostrel" << false;
    QTest::newRow("read-only folder") << "здание.vostrel" << true;
}

// A save that fails names the file and the reason; the old file keeps its
// bytes and the design stays marked as not saved.
void TestDesignFile::failedSave() {
    QFETCH(QString, target);
    QFETCH(bool, readOnlyFolder);
    if (readOnlyFolder && geteuid() == 0)
        QSKIP("root writes into a read-only folder");
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir("папка.vostrel"));
    const QString old = dir.filePath("здание.vostrel");
    Program p(",");
    SavedBuilding(p, old);
    const QByteArray bytes = Read(old);
    Type(p.form1.Edit1, "5");
    const QString path = dir.filePath(target);
    if (readOnlyFolder) {
        QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner));
        Command(p, "FileSave");
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    } else {
        p.dialogs.fileName = path;
        Command(p, "FileSaveAs");
    }
    QCOMPARE(p.dialogs.shown.size(), 1);
    QVERIFY2(
        p.dialogs.texts().front().startsWith(QStringLiteral("Файл «%1» не сохранён: ").arg(path)),
        qPrintable(p.dialogs.texts().front()));
    QCOMPARE(Read(old), bytes);
    QCOMPARE(p.window1.windowTitle(), QStringLiteral("здание[*] — ") + kTitle);
    QVERIFY(p.window1.isWindowModified());
}

void TestDesignFile::question_data() {
    QTest::addColumn<QString>("command"); // "close", "FileNew" or "FileOpen"
    QTest::addColumn<bool>("saved");      // the design went to a file
    QTest::addColumn<int>("answer");      // Dialogs::Answer
    QTest::addColumn<bool>("goesOn");     // the command is carried out
    const int yes = int(Dialogs::Answer::Yes), no = int(Dialogs::Answer::No),
              cancel = int(Dialogs::Answer::Cancel);
    for (const QString command : {"close", "FileNew", "FileOpen"}) {
        const QByteArray name = command.toUtf8();
        QTest::addRow("%s, never saved", name.data()) << command << false << cancel << true;
        QTest::addRow("%s, cancel", name.data()) << command << true << cancel << false;
        QTest::addRow("%s, no", name.data()) << command << true << no << true;
        QTest::addRow("%s, yes", name.data()) << command << true << yes << true;
    }
}

// Closing, "Новый" and "Открыть…" ask about changes not saved of a design
// that has a file: "Да" saves them, "Нет" gives them up, "Отмена" stays.
void TestDesignFile::question() {
    QFETCH(QString, command);
    QFETCH(bool, saved);
    QFETCH(int, answer);
    QFETCH(bool, goesOn);
    QTemporaryDir dir;
    const QString path = dir.filePath("здание.vostrel");
    Program p(",");
    if (saved)
        SavedBuilding(p, path);
    else
        TypeDimensions(p, "24", "60", "9");
    Type(p.form1.Edit1, "5");
    p.dialogs.answer = static_cast<Dialogs::Answer>(answer);
    p.dialogs.fileName.clear(); // "Открыть…" then opens nothing
    p.dialogs.fileDialogs.clear();
    if (command == "close")
        p.window1.close();
    else
        Command(p, command.toUtf8().constData());
    QCOMPARE(p.dialogs.questions,
             saved ? QStringList{"Сохранить изменения в «здание»?"} : QStringList());
    const bool yes = static_cast<Dialogs::Answer>(answer) == Dialogs::Answer::Yes;
    QCOMPARE(saved && QJsonDocument::fromJson(Read(path))["building"]["width"].toString() == "245",
             yes);
    if (command == "close")
        QCOMPARE(p.window1.isVisible(), !goesOn);
    else if (command == "FileNew")
        QCOMPARE(p.form1.Edit1->text(), goesOn ? "" : "245");
    else
        QCOMPARE(p.dialogs.fileDialogs, goesOn ? QStringList{"Открыть проект"} : QStringList());
}

void TestDesignFile::droppedFileOpens() {
    QTemporaryDir dir;
    const QString path = dir.filePath("брошенный.vostrel");
    Write(path, kHead + R"("building": {"width": "12.5", "length": "36", "height": "10"}})");
    Program p(",");
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(path)});
    QDragEnterEvent enter({10, 40}, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&p.window1, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(10, 40), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&p.window1, &drop);
    QTRY_COMPARE(p.form1.Edit1->text(), "12,5");
    QCOMPARE(p.window1.windowTitle(), QStringLiteral("брошенный[*] — ") + kTitle);
}

QTEST_MAIN(TestDesignFile)
#include "tst_designfile.moc"

// A system's rods as typed, with an added rod: saved under ",", the file's
// keys, and opened under "." with the same rods and results.
void TestDesignFile::systemRoundTrip() {
    QTemporaryDir dir;
    const QString saved = dir.filePath("система.vostrel");
    const auto rods = [](Program& p) {
        QStringList cells;
        const QTableWidget* t = p.form8.RodTable1->Table1;
        for (int r = 0; r < t->rowCount(); ++r)
            for (int c = 0; c < t->columnCount(); ++c)
                cells << t->item(r, c)->text();
        t = p.form8.RodTable1->Table3;
        for (int r = 0; r < t->rowCount(); ++r)
            for (int c = 0; c < t->columnCount(); ++c)
                cells << t->item(r, c)->text();
        return cells.replaceInStrings(".", ",");
    };
    QStringList before, cells;
    {
        Program p(",");
        ToRodPage(p, false, 5);
        QTableWidget* table = p.form8.RodTable1->Table1;
        table->item(2, 3)->setText("25,5");
        p.form8.RodTable1->Button1->click();
        table->item(4, 1)->setText("17,25");
        table->item(4, 2)->setText("-7");
        Calculate(p, {"9,5"});
        QCOMPARE(p.dialogs.texts(), QStringList());
        before = Shown(p);
        cells = rods(p);
        p.dialogs.fileName = saved;
        Command(p, "FileSave");
        QCOMPARE(p.dialogs.texts(), QStringList());
    }
    const QJsonObject json = QJsonDocument::fromJson(Read(saved)).object();
    QCOMPARE(json["rodType"].toInt(), 6);
    QCOMPARE(json["rodInputs"].toArray().first().toString(), "9.5");
    const QJsonArray list = json["rods"].toArray();
    QCOMPARE(list.size(), 5);
    QCOMPARE(list[0].toObject()["x"].toDouble(), -2.0);
    QCOMPARE(list[2].toObject()["h"].toString(), "25.5");
    QCOMPARE(list[4].toObject()["x"].toDouble(), 17.25);
    QCOMPARE(list[4].toObject()["y"].toDouble(), -7.0);

    Program q(".");
    q.window1.openFile(saved);
    QCOMPARE(Shown(q), before);
    QCOMPARE(rods(q), cells);
    QVERIFY(!q.window1.isWindowModified());
    q.form8.RodTable1->Table1->item(0, 3)->setText("21");
    QVERIFY(q.window1.isWindowModified()); // a rod typed is a change
}
