// The drawing of the zone: the button that opens it, the window for each rod
// type, and saving it as PNG, SVG and PDF.
#include "fixture.h"

#include <QSvgRenderer>
#include <QTemporaryDir>

using namespace vostrel;

namespace {
// Pixels of the image near `colour` (the zone's fill over white) in the
// left and the right half.
QPair<int, int> Tinted(const QImage& image, const QColor& colour) {
    int left = 0, right = 0;
    for (int y = 0; y < image.height(); y += 2)
        for (int x = 0; x < image.width(); x += 2) {
            const QColor c = image.pixelColor(x, y);
            const bool tinted =
                c != Qt::white && std::abs(c.hue() - colour.hue()) < 12 && c.saturation() > 40;
            (x < image.width() / 2 ? left : right) += tinted;
        }
    return {left, right};
}
} // namespace

class TestDrawing : public QObject {
    Q_OBJECT
private slots:
    void buttonStates();
    void windowForEachRodType_data();
    void windowForEachRodType();
    void savesThreeFormats();
    void unwritableFileNamed();
};

void TestDrawing::buttonStates() {
    Program p(",");
    MainWindow& f = p.form1;
    QCOMPARE(f.Button6->text(), "Чертёж");
    QCOMPARE(f.Button6->geometry(), QRect(320, 280, 105, 25));
    ToRodPage(p, false);
    QVERIFY(!f.Button6->isEnabled());
    Calculate(p, {"20", "60", "1.0"}); // not a number: no zone
    QVERIFY(!f.Button6->isEnabled());
    p.dialogs.clear();
    Calculate(p, {"20", "60", "10"});
    QVERIFY(f.Button6->isEnabled());
    Click(f.Button4);
    PressNext(p);
    QVERIFY(!f.Button6->isEnabled());
}

void TestDrawing::windowForEachRodType_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<bool>("zoneA");
    for (int i = 0; i < 5; ++i) {
        QTest::addRow("type %d, zone B", i + 1) << i << false;
        QTest::addRow("type %d, zone A", i + 1) << i << true;
    }
}

void TestDrawing::windowForEachRodType() {
    QFETCH(int, index);
    QFETCH(bool, zoneA);
    Program p(",");
    ToRodPage(p, zoneA, index);
    // The zone A design's building is 1 x 2 km: one that the zone may hold.
    p.form1.Edit1->setText("12");
    p.form1.Edit2->setText("36");
    p.form1.Edit3->setText("10");
    Calculate(p, kRodInputs[index]);
    Click(p.form1.Button6);
    TForm8& w = p.form8;
    QVERIFY(w.isVisible());
    QCOMPARE(w.windowTitle(), "Зона защиты");
    QCOMPARE(w.minimumSize(), QSize(640, 480));
    QVERIFY(w.maximumSize().width() > 2000); // resizable
    w.resize(1000, 620);
    const QImage image = w.Image1->grab().toImage();
    // Both views show the zone in its colour.
    const auto [section, plan] = Tinted(image, zoneA ? kZoneAColour : kZoneBColour);
    QVERIFY2(section > 200 && plan > 200, qPrintable(QString("%1 %2").arg(section).arg(plan)));
    if (!qEnvironmentVariableIsEmpty("VOSTREL_DRAWING_OUT"))
        image.save(QString("%1/drawing-%2%3.png")
                       .arg(qEnvironmentVariable("VOSTREL_DRAWING_OUT"))
                       .arg(index + 1)
                       .arg(zoneA ? "A" : "B"));
}

void TestDrawing::savesThreeFormats() {
    Program p(",");
    ToRodPage(p, false, 1);
    Calculate(p, kRodInputs[1]);
    Click(p.form1.Button6);
    QTemporaryDir dir;
    p.dialogs.fileName = dir.filePath("чертёж.png");
    Click(p.form8.Button1);
    QCOMPARE(p.dialogs.fileDialogs, QStringList{"Сохранить чертёж"});
    QVERIFY2(p.dialogs.shown.isEmpty(), qPrintable(p.dialogs.texts().join('\n')));
    const QImage png(p.dialogs.fileName);
    QCOMPARE(png.size(), QSize(2953, 1890)); // 250 x 160 mm at 300 dpi
    QVERIFY(std::abs(png.dotsPerMeterX() - 11811) <= 1);

    QCOMPARE(p.form8.save(dir.filePath("чертёж.svg")), QString());
    QSvgRenderer svg(dir.filePath("чертёж.svg"));
    QVERIFY(svg.isValid());
    QVERIFY(svg.defaultSize().width() > 0);

    QCOMPARE(p.form8.save(dir.filePath("чертёж.PDF")), QString());
    QFile pdf(dir.filePath("чертёж.PDF"));
    QVERIFY(pdf.open(QIODevice::ReadOnly));
    const QByteArray bytes = pdf.readAll();
    QVERIFY(bytes.startsWith("%PDF"));
    static const QRegularExpression page("/Type\\s*/Page(?!s)"); // one page object
    QCOMPARE(QString::fromLatin1(bytes).count(page), 1);
}

void TestDrawing::unwritableFileNamed() {
    Program p(",");
    ToRodPage(p, false);
    Calculate(p, kRodInputs[3]);
    Click(p.form1.Button6);
    QTemporaryDir dir;
    // A folder stands where the file would go: nothing is written.
    QVERIFY(QDir(dir.path()).mkdir("taken.png"));
    p.dialogs.fileName = dir.filePath("taken.png");
    Click(p.form8.Button1);
    QCOMPARE(p.dialogs.texts().size(), 1);
    QVERIFY2(p.dialogs.texts()[0].startsWith("Не удалось сохранить чертёж в файл «" +
                                             dir.filePath("taken.png") + "»: "),
             qPrintable(p.dialogs.texts()[0]));
    p.dialogs.clear();
    p.dialogs.fileName = dir.filePath("missing/x.svg");
    Click(p.form8.Button1);
    QVERIFY(p.dialogs.texts().value(0).contains(dir.filePath("missing/x.svg")));
    QVERIFY(!QFile::exists(dir.filePath("missing/x.svg")));
    QVERIFY(p.form8.save(dir.filePath("x.bmp"))
                .startsWith("Чертёж сохраняется в формате PNG, SVG или PDF"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList());
}

QTEST_MAIN(TestDrawing)
#include "tst_drawing.moc"
