// The drawing of the zone: the button that opens it, the window for each rod
// type and how it follows the design, the verdict, the labels, and saving it
// as PNG, SVG and a PDF sheet.
#include "fixture.h"

#include "calc/heightcheck.h"

#include <QBuffer>
#include <QPainter>
#include <QProcess>
#include <QStandardPaths>
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

// The worked example of a rod type (code 1 to 5) in zone B or A, with a
// building of 12 x 36 x 10 m.
ZoneDrawing Example(int code, bool zoneA = false) {
    ZoneInputs in{};
    for (qsizetype i = 0; i < kRodInputs[code - 1].size(); ++i)
        in[static_cast<size_t>(i)] = kRodInputs[code - 1][i].toDouble();
    return {code, in, ZoneOf(code, in, zoneA, !zoneA, {}), BuildingSize{12, 36, 10}};
}

// The colour `fill` takes over white.
QRgb OverWhite(QColor fill) {
    QImage pixel(1, 1, QImage::Format_RGB32);
    pixel.fill(Qt::white);
    QPainter(&pixel).fillRect(0, 0, 1, 1, fill);
    return pixel.pixel(0, 0) & 0xffffff;
}

int Count(const QImage& image, QRgb colour) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += (image.pixel(x, y) & 0xffffff) == colour;
    return n;
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
    void windowFollowsDesign();
    void verdictAtBuildingHeight_data();
    void verdictAtBuildingHeight();
    void zoneAtHeightEachType();
    void placementMovesVerdict();
    void dragAndTurn();
    void heightPick();
    void trueColours();
    void viewsClippedToFrames();
    void labelsKeepClear_data();
    void labelsKeepClear();
    void saveDialog();
    void pdfSheet_data();
    void pdfSheet();
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

    QVERIFY(p.form8.save(dir.filePath("чертёж.svg")));
    QSvgRenderer svg(dir.filePath("чертёж.svg"));
    QVERIFY(svg.isValid());
    QVERIFY(svg.defaultSize().width() > 0);

    QVERIFY(p.form8.save(dir.filePath("чертёж.PDF")));
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
    const Outcome<void, QString> bmp = p.form8.save(dir.filePath("x.bmp"));
    QVERIFY(!bmp);
    QVERIFY(bmp.reason().startsWith("Чертёж сохраняется в формате PNG, SVG или PDF"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList());
}

// The window shows the last calculation and the building as they are now,
// and nothing after a new design until the next calculation.
void TestDrawing::windowFollowsDesign() {
    Program p(",");
    ToRodPage(p, false, 1);
    Calculate(p, kRodInputs[1]);
    Click(p.form1.Button6);
    TForm8& w = p.form8;
    QCOMPARE(w.figure()->drawing.inputs[1], 40.0);
    Calculate(p, {"30", "70", "10"});
    QCOMPARE(w.figure()->drawing.inputs[1], 70.0);
    QCOMPARE(w.figure()->drawing.zone, ZoneOf(kDoubleRod, {30, 70, 10, 0}, 0, 1, {}));
    Click(p.form1.Button4);
    p.form1.Edit1->setText("20");
    QCOMPARE(w.figure()->drawing.building->width, 20.0);
    PressNext(p);
    QVERIFY(!w.hasDrawing());
    QVERIFY(!w.Button1->isEnabled());
    w.resize(800, 500);
    const auto [section, plan] = Tinted(w.Image1->grab().toImage(), kZoneBColour);
    QCOMPARE(section + plan, 0);
    Calculate(p, kRodInputs[1]);
    QVERIFY(w.hasDrawing());
    QVERIFY(w.Button1->isEnabled());
}

void TestDrawing::verdictAtBuildingHeight_data() {
    QTest::addColumn<double>("hx");
    QTest::addColumn<double>("height");
    QTest::addColumn<bool>("inside");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("note");
    // A single rod of 20 m in zone B: h0 = 18,4; rx = 7,2 at 14 m, 18,6 at
    // 7 m, 2,3 at 17 m; the building is 12 x 12 m (8,5 m to its corners).
    QTest::newRow("hx above the roof, in the zone at h")
        << 14.0 << 7.0 << true << "Здание в зоне защиты на своей высоте h = 7,0 м."
        << "План показывает зону на высоте hx = 14,0 м; проверка по зоне на высоте здания "
           "h = 7,0 м: здание в зоне защиты.";
    QTest::newRow("hx below the roof, out of the zone at h")
        << 2.0 << 17.0 << false
        << "Здание на своей высоте h = 17,0 м выходит из зоны защиты на 6,2 м."
        << "План показывает зону на высоте hx = 2,0 м; проверка по зоне на высоте здания "
           "h = 17,0 м: здание выходит из зоны защиты на 6,2 м.";
    QTest::newRow("hx at the roof")
        << 7.0 << 7.0 << true << "Здание в зоне защиты на своей высоте h = 7,0 м."
        << "";
    QTest::newRow("taller than the zone")
        << 10.0 << 19.0 << false
        << "Здание выше зоны защиты: его высота h = 19,0 м не ниже вершины зоны h0 = 18,4 м."
        << "План показывает зону на высоте hx = 10,0 м; проверка по зоне на высоте здания "
           "h = 19,0 м: здание выше вершины зоны h0 = 18,4 м.";
}

void TestDrawing::verdictAtBuildingHeight() {
    QFETCH(double, hx);
    QFETCH(double, height);
    QFETCH(bool, inside);
    QFETCH(QString, text);
    QFETCH(QString, note);
    const ZoneInputs in{20, hx, 0, 0};
    const Verdict v = VerdictOf(
        {kSingleRod, in, ZoneOf(kSingleRod, in, 0, 1, {}), BuildingSize{12, 12, height}}, ",");
    QCOMPARE(v.text, text);
    QCOMPARE(v.note, note);
    QCOMPARE(v.inside, inside);
    QVERIFY(v.checked);
}

// Pixels of the plan's frame near the red of the hatching.
int RedInPlan(const ZoneFigure& figure) {
    std::vector<QRectF> frames;
    const QImage image = RenderZoneDrawing(figure, {1000, 600}, 96, {false, nullptr, &frames});
    int red = 0;
    const QRect plan = frames.at(1).toAlignedRect() & image.rect();
    for (int y = plan.top(); y <= plan.bottom(); ++y)
        for (int x = plan.left(); x <= plan.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            red += (c.hue() < 10 || c.hue() > 350) && c.saturation() > 60;
        }
    return red;
}

// A single rod of 25 m in zone A (rx = 16,4 m at 8 m) and a 12 x 18 x 8 m
// building: centred, it protects the building; typed 3 m off the long wall
// it misses the far corners by 1,1 m, the roof outside the zone is hatched,
// and the main window keeps that placement for the next drawing.
void TestDrawing::placementMovesVerdict() {
    QVERIFY(std::abs(*QuantityOf(ZoneOf(kSingleRod, {25, 8, 0, 0}, 1, 0, {}), Quantity::Rx) -
                     16.4) < 0.05);
    Program p(",");
    ToRodPage(p, true, 0);
    Calculate(p, {"25", "8"});
    Click(p.form1.Button6);
    Click(p.form1.Button4);
    p.form1.Edit1->setText("12");
    p.form1.Edit2->setText("18");
    p.form1.Edit3->setText("8");
    TForm8& w = p.form8;
    QCOMPARE(w.Label4->accessibleName(), "Вывод");
    QCOMPARE(w.Edit2->accessibleName(), "y, м");
    QCOMPARE(w.Label4->text(), "Здание в зоне защиты на своей высоте h = 8,0 м.");
    QCOMPARE(QStringList({w.Edit1->text(), w.Edit2->text(), w.Edit3->text()}),
             QStringList({"9,00", "6,00", "0,00"}));
    QCOMPARE(RedInPlan(*w.figure()), 0);

    w.Edit2->selectAll();
    QTest::keyClicks(w.Edit2, "-3");
    QCOMPARE(w.Label4->text(), "Здание на своей высоте h = 8,0 м выходит из зоны защиты на 1,1 м.");
    const ZoneFigure& moved = *w.figure();
    QVERIFY(!moved.verdict.inside);
    const auto* rodPageVerdict = p.window1.findChild<QLabel*>("Label24");
    QCOMPARE(rodPageVerdict->accessibleName(), "Вывод");
    QCOMPARE(rodPageVerdict->text(), w.Label4->text());
    const Point worst = moved.roof->check.worst; // a far corner
    QVERIFY2(std::abs(worst.y - 12) < 0.01 &&
                 std::min(std::abs(worst.x), std::abs(worst.x - 18)) < 0.01,
             qPrintable(QString("worst point %1, %2").arg(worst.x).arg(worst.y)));
    QVERIFY(!moved.roof->uncovered.empty());
    QVERIFY2(RedInPlan(moved) > 200, "the uncovered roof is hatched red");
    // Not a number: nothing changes, the line says why.
    QTest::keyClicks(w.Edit3, "x");
    QCOMPARE(w.Label4->text(), "Размещение не изменено: в поле «Угол, °» не число.");
    QCOMPARE(w.figure()->drawing.placement->y, -3.0);

    p.form1.Edit3->setText("7,9"); // redrawn from the main window
    QCOMPARE(w.figure()->drawing.building->height, 7.9);
    QCOMPARE(w.figure()->drawing.placement->y, -3.0);
    QCOMPARE(w.Label4->text(), "Здание на своей высоте h = 7,9 м выходит из зоны защиты на 1,0 м.");
    QCOMPARE(rodPageVerdict->text(), w.Label4->text());
}

// A drag in the plan moves the rods with the mouse, a drag beside it does
// nothing, the wheel turns them 5° a step; fields and verdict follow.
void TestDrawing::dragAndTurn() {
    RecordingDialogs dialogs;
    Services services{dialogs, NumberText(","), QString()};
    TForm8 w(services);
    std::vector<Placement> told;
    connect(&w, &TForm8::placementChanged, &w, [&](const Placement& at) { told.push_back(at); });
    w.resize(900, 560);
    w.show();
    w.setDrawing(Example(kSingleRod), {}); // a 30 m rod centred over 12 x 36 m
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.Image1->repaint();
    const QPoint inPlan(w.Image1->width() * 3 / 4, w.Image1->height() / 2);
    const QPoint inSection(w.Image1->width() / 4, w.Image1->height() / 2);
    QTest::mousePress(w.Image1, Qt::LeftButton, {}, inSection);
    QTest::mouseMove(w.Image1, inSection + QPoint(150, 0));
    QTest::mouseRelease(w.Image1, Qt::LeftButton, {}, inSection + QPoint(150, 0));
    QVERIFY(told.empty());
    QTest::mousePress(w.Image1, Qt::LeftButton, {}, inPlan);
    QTest::mouseMove(w.Image1, inPlan + QPoint(40, 0));
    QTest::mouseMove(w.Image1, inPlan + QPoint(150, 0));
    QTest::mouseRelease(w.Image1, Qt::LeftButton, {}, inPlan + QPoint(150, 0));
    QCOMPARE(told.size(), size_t(2));
    const Placement moved = w.figure()->drawing.placement.value();
    QVERIFY2(moved.x > 18 + 10, qPrintable(QString("x = %1").arg(moved.x))); // right, many metres
    QCOMPARE(moved.y, 6.0);
    QCOMPARE(w.Edit1->text(), NumberText(",").fixed(moved.x, 2));
    QVERIFY(!w.figure()->verdict.inside);
    QWheelEvent wheel(QPointF(inPlan), w.Image1->mapToGlobal(QPointF(inPlan)), {}, {0, 240},
                      Qt::NoButton, {}, Qt::NoScrollPhase, false);
    QApplication::sendEvent(w.Image1, &wheel);
    QCOMPARE(w.figure()->drawing.placement->angleDegrees, 10.0);
    QCOMPARE(w.Edit3->text(), "10,00");
    QCOMPARE(told.back().angleDegrees, 10.0);
}

// "Подобрать высоту" for the rod 3 m off the long wall: "Нет" leaves the rod
// page alone, "Да" puts the height there, and "Расчёт" with it protects the
// building while 0,1 m less does not. A building no rod can protect: the
// message says by how much the rod of 150 m misses.
void TestDrawing::heightPick() {
    Program p(",");
    ToRodPage(p, true, 0);
    Calculate(p, {"25", "8"});
    Click(p.form1.Button6);
    p.form1.Edit1->setText("12");
    p.form1.Edit2->setText("18");
    p.form1.Edit3->setText("8");
    TForm8& w = p.form8;
    QCOMPARE(w.Button2->accessibleName(), "Подобрать высоту");
    w.Edit2->selectAll();
    QTest::keyClicks(w.Edit2, "-3");
    p.dialogs.answer = Dialogs::Answer::No;
    Click(w.Button2);
    QCOMPARE(p.dialogs.questions,
             QStringList("Здание на своей высоте h = 8,0 м защищено (зона А) при высоте "
                         "молниеотвода h = 26,2 м — наименьшей с шагом 0,1 м. Записать её на "
                         "страницу молниеотвода?"));
    QCOMPARE(p.form1.Edit8->text(), "25");
    p.dialogs.answer = Dialogs::Answer::Yes;
    Click(w.Button2);
    QCOMPARE(p.form1.Edit8->text(), "26,2");
    const auto verdictFor = [&](const QString& h) {
        Calculate(p, {h});
        return w.Label4->text();
    };
    QCOMPARE(verdictFor("26,2"), "Здание в зоне защиты на своей высоте h = 8,0 м.");
    QVERIFY(w.figure()->verdict.inside);
    QVERIFY(verdictFor("26,1").contains("выходит из зоны защиты"));
    QVERIFY(!w.figure()->verdict.inside);

    p.form1.Edit1->setText("400");
    p.form1.Edit2->setText("400");
    p.form1.Edit3->setText("10");
    p.dialogs.clear();
    Click(w.Button2);
    const Placement placement = PlacementOf(w.figure()->drawing);
    const RoofVerdict top =
        RoofVerdictOf(kSingleRod, {150, 8, 0, 0}, {1, 0}, placement, Building{400, 400, 10});
    QCOMPARE(p.dialogs.texts(),
             QStringList(QStringLiteral("Здание на своей высоте h = 10,0 м не защищено (зона А) ни "
                                        "при какой высоте молниеотвода h до 150 м: и при 150 м "
                                        "оно выходит из зоны защиты на %1 м.")
                             .arg(NumberText(",").fixed(top.check.overshoot, 1))));
}

// The zone at the building's height is the rod page's zone for hx = h, for
// every rod type and both zones.
void TestDrawing::zoneAtHeightEachType() {
    const ZoneInputs atFive[] = {
        {30, 5, 0, 0}, {30, 40, 5, 0}, {30, 20, 35, 5}, {20, 60, 5, 0}, {22, 60, 25, 5}};
    for (int code = kSingleRod; code <= kDoubleCatenary; ++code)
        for (bool zoneA : {false, true}) {
            const ZoneDrawing d = Example(code, zoneA);
            const RodZone expected = ZoneOf(code, atFive[code - 1], zoneA, !zoneA, {});
            QVERIFY2(ZoneAtHeight(code, d.inputs, d.zone, 5) == expected,
                     qPrintable(QString("type %1, zone A %2").arg(code).arg(zoneA)));
            QVERIFY(!(d.zone == expected));
        }
}

// The PNG holds the colours painted, pixel for pixel, and those are the
// window's: the zone's and the building's fills over white.
void TestDrawing::trueColours() {
    const ZoneFigure figure = PrepareZoneFigure(Example(kDoubleRod), ",");
    const QImage painted = RenderZoneDrawing(figure, {1260, 788}, 200);
    const QImage png = QImage::fromData(DrawingPng(painted), "PNG");
    QCOMPARE(png.size(), painted.size());
    QCOMPARE(png.dotsPerMeterX(), painted.dotsPerMeterX());
    QVERIFY(png.convertToFormat(QImage::Format_RGB32) == painted);
    Program p(",");
    ToRodPage(p, false, 1);
    Calculate(p, kRodInputs[1]);
    Click(p.form1.Button6);
    const QImage screen = p.form8.Image1->grab().toImage();
    QColor zone = kZoneBColour, building(120, 120, 120);
    zone.setAlpha(90);
    building.setAlpha(70);
    for (const QColor& fill : {zone, building}) {
        const QRgb colour = OverWhite(fill);
        QVERIFY2(Count(screen, colour) > 40 && Count(png, colour) > 40,
                 qPrintable(QString::number(colour, 16)));
    }
}

// Nothing of a view is drawn outside its frame, in the SVG as on an image:
// the gap between the two views stays white.
void TestDrawing::viewsClippedToFrames() {
    const ZoneFigure figure = PrepareZoneFigure(Example(kSingleCatenary), ",");
    QByteArray svg;
    QBuffer out(&svg);
    out.open(QIODevice::WriteOnly);
    QVERIFY(WriteDrawing(out, DrawingFormat::Svg, figure, {}));
    QSvgRenderer renderer(svg);
    QImage image(renderer.defaultSize(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    renderer.render(&painter);
    painter.end();
    std::vector<QRectF> frames;
    RenderZoneDrawing(figure, image.size(), 96, {false, nullptr, &frames});
    QCOMPARE(frames.size(), size_t(2));
    const int x = qRound((frames[0].right() + frames[1].left()) / 2);
    QVERIFY(frames[1].left() - frames[0].right() > 4);
    for (int y = qRound(frames[0].top()); y < qRound(frames[0].bottom()); ++y)
        QVERIFY2(qGray(image.pixel(x, y)) > 245, qPrintable(QString("at %1, %2").arg(x).arg(y)));
}

void TestDrawing::labelsKeepClear_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<bool>("zoneA");
    QTest::addColumn<bool>("report");
    for (int code = kSingleRod; code <= kDoubleCatenary; ++code)
        for (bool zoneA : {false, true}) {
            QTest::addRow("type %d, zone %s, report", code, zoneA ? "A" : "B")
                << code << zoneA << true;
            QTest::addRow("type %d, zone %s, 640 x 480", code, zoneA ? "A" : "B")
                << code << zoneA << false;
        }
}

// Every text of the drawing, at the report's size (16 x 10 cm at 200 dpi) and
// in the smallest window, stands clear of every other and inside the drawing.
void TestDrawing::labelsKeepClear() {
    QFETCH(int, code);
    QFETCH(bool, zoneA);
    QFETCH(bool, report);
    RecordingDialogs dialogs;
    Services services{dialogs, NumberText(","), QString()};
    TForm8 window(services);
    window.resize(640, 480);
    window.show();
    const QSize size = report ? ReportMaker::kPicturePixels : window.Image1->size();
    const int dpi = report ? 200 : window.Image1->logicalDpiY();
    const ZoneFigure figure = PrepareZoneFigure(Example(code, zoneA), ",");
    std::vector<QRectF> texts;
    RenderZoneDrawing(figure, size, dpi, {false, &texts, nullptr});
    // Legend (four), titles, scale bars, the verdict, every dimension and the
    // distance of the roof's worst point from the zone.
    const size_t expected = 4 + 2 + 2 + 1 + !figure.verdict.note.isEmpty() +
                            figure.plan.pieces.empty() + figure.sectionDimensions.size() +
                            figure.planDimensions.size() + !figure.roof->check.inside;
    QCOMPARE(texts.size(), expected);
    const QRectF area(QPointF(0, 0), QSizeF(size));
    for (size_t i = 0; i < texts.size(); ++i) {
        QVERIFY(area.contains(texts[i]));
        for (size_t j = i + 1; j < texts.size(); ++j)
            QVERIFY2(!texts[i].intersects(texts[j]),
                     qPrintable(QString("text %1 and %2").arg(i).arg(j)));
    }
}

// The dialog offers a name from the rod type in the documents folder, then
// the folder and format last used; a name without an extension gets the
// chosen format's.
void TestDrawing::saveDialog() {
    Program p(",");
    ToRodPage(p, false, 1);
    Calculate(p, kRodInputs[1]);
    Click(p.form1.Button6);
    QTemporaryDir dir;
    p.dialogs.fileName = dir.filePath("чертёж");
    p.dialogs.filter = "Рисунок SVG (*.svg)";
    Click(p.form8.Button1);
    QVERIFY2(p.dialogs.shown.isEmpty(), qPrintable(p.dialogs.texts().join('\n')));
    QVERIFY(QSvgRenderer(dir.filePath("чертёж.svg")).isValid());
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    QCOMPARE(p.dialogs.suggested.value(0),
             QDir(documents).filePath("Зона защиты — двойной стержневой.png"));
    QCOMPARE(p.dialogs.firstFilters.value(0), "Рисунок PNG (*.png)");
    QVERIFY(p.dialogs.offeredFilters.value(0).contains("Чертёж PDF, A3 (*.pdf)"));
    p.dialogs.fileName.clear(); // cancelled
    p.dialogs.filter.clear();
    Click(p.form8.Button1);
    QCOMPARE(p.dialogs.suggested.value(1),
             QDir(dir.path()).filePath("Зона защиты — двойной стержневой.svg"));
    QCOMPARE(p.dialogs.firstFilters.value(1), "Рисунок SVG (*.svg)");
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"чертёж.svg"});
}

void TestDrawing::pdfSheet_data() {
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("page");
    QTest::newRow("A4") << "Чертёж PDF, A4 (*.pdf)"
                        << "842 x 595 pts (A4)";
    QTest::newRow("A3") << "Чертёж PDF, A3 (*.pdf)"
                        << "1191 x 842 pts (A3)";
}

// The PDF is a landscape drawing sheet with the title block filled in.
void TestDrawing::pdfSheet() {
    QFETCH(QString, filter);
    QFETCH(QString, page);
    if (QStandardPaths::findExecutable("pdftotext").isEmpty() ||
        QStandardPaths::findExecutable("pdfinfo").isEmpty())
        QSKIP("poppler-utils (pdftotext, pdfinfo) not installed");
    Program p(",");
    ToRodPage(p, false, 1);
    Calculate(p, kRodInputs[1]);
    Click(p.form1.Button6);
    QTemporaryDir dir;
    p.dialogs.fileName = dir.filePath("лист.pdf");
    p.dialogs.filter = filter;
    Click(p.form8.Button1);
    QVERIFY2(p.dialogs.shown.isEmpty(), qPrintable(p.dialogs.texts().join('\n')));
    const auto run = [](const QString& program, const QStringList& arguments) {
        QProcess process;
        process.start(program, arguments);
        process.waitForFinished(30000);
        return QString::fromUtf8(process.readAllStandardOutput());
    };
    const QString info = run("pdfinfo", {dir.filePath("лист.pdf")});
    QVERIFY2(info.contains("Page size:       " + page), qPrintable(info));
    const QString text = run("pdftotext", {"-raw", dir.filePath("лист.pdf"), "-"}).simplified();
    const QString object = p.form1.Memo1->toPlainText().simplified();
    QVERIFY(!object.isEmpty());
    for (const QString& expected :
         {QString("Зона защиты — двойной стержневой"), QString("Разработал"), QString("Проверил"),
          QString("Масштаб"), QString("Вертикальное сечение"),
          QDate::currentDate().toString("dd.MM.yy"), object.left(20)})
        QVERIFY2(text.contains(expected), qPrintable(expected + " in: " + text));
    static const QRegularExpression scale("1:(\\d+)");
    const auto match = scale.match(text);
    QVERIFY2(match.hasMatch(), qPrintable(text));
    // A scale of the standard series.
    const QString denominator = match.captured(1);
    QVERIFY2(QRegularExpression("^(1|15|2|25|4|5|75)0*$").match(denominator).hasMatch(),
             qPrintable(denominator));
}

QTEST_MAIN(TestDrawing)
#include "tst_drawing.moc"
