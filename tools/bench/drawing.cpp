// The drawing of the zone, measured and pictured (not a test):
//   bench_drawing [RUNS]          times painting both views at 1920 x 1080 and
//                                 writing the PNG at 300 dpi; medians of RUNS (21)
//   bench_drawing --grab DIR      renders the drawing window for a single rod and
//                                 for two rods, with the building, into DIR
#include "drawing/zonedrawing.h"
#include "windows/unit8.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QPainter>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

using namespace vostrel;

namespace {
class NoDialogs final : public Dialogs {
    void message(QWidget*, const QString&) override {}
    void error(QWidget*, const QString&) override {}
    void applicationError(const QString&) override {}
    QString saveFileName(QWidget*, const QString&, const QString&, const QString&,
                         QString*) override {
        return {};
    }
    QString openFileName(QWidget*, const QString&, const QString&, const QString&) override {
        return {};
    }
    Answer question(QWidget*, const QString&) override { return Answer::Cancel; }
};

// The worked examples in zone Б, with a building of 12 x 36 x 10 m.
ZoneDrawing SingleRod() {
    const ZoneInputs in{30, 10, 0, 0};
    return {kSingleRod, in, ZoneOf(kSingleRod, in, 0, 1, {}), BuildingSize{12, 36, 10}};
}
ZoneDrawing TwoRods() {
    const ZoneInputs in{30, 40, 10, 0};
    return {kDoubleRod, in, ZoneOf(kDoubleRod, in, 0, 1, {}), BuildingSize{12, 36, 10}};
}

// The thread's CPU time, ms: on a busy machine the fairer figure.
double CpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}
} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const NumberText numbers(QStringLiteral(","));
    if (argc == 3 && QByteArray(argv[1]) == "--grab") {
        NoDialogs dialogs;
        Services services{dialogs, numbers, QString()};
        TForm8 window(services);
        window.resize(1000, 620);
        const std::pair<const char*, ZoneDrawing> shots[] = {
            {"drawing-single-rod.png", SingleRod()}, {"drawing-two-rods.png", TwoRods()}};
        for (const auto& [name, drawing] : shots) {
            window.showDrawing(drawing, QStringLiteral("Жилой дом"), nullptr);
            if (!window.grab().save(QDir(QString::fromLocal8Bit(argv[2])).filePath(name)))
                return 1;
        }
        return 0;
    }
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 21;
    const ZoneFigure drawing = PrepareZoneFigure(TwoRods(), numbers.decimalSeparatorUtf8());
    const QSize pngSize(2953, 1890); // 250 x 160 mm at 300 dpi
    QImage screen(1920, 1080, QImage::Format_ARGB32_Premultiplied);
    std::vector<double> paint, drag, dragCpu, render, encode, png;
    QTemporaryDir dir;
    NoDialogs dialogs;
    Services services{dialogs, numbers, QString()};
    TForm8 window(services);
    window.setDrawing(TwoRods(), QStringLiteral("Жилой дом"));
    QByteArray bytes;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        {
            QPainter painter(&screen);
            PaintZoneDrawing(painter, QRectF(0, 0, 1920, 1080), drawing);
        }
        paint.push_back(t.nsecsElapsed() / 1e6);
        // A frame while dragging: the rods moved by 0,5 m and turned by 1°,
        // the figure with its verdict worked out again and painted.
        t.restart();
        const double cpu = CpuMs();
        {
            ZoneDrawing moved = TwoRods();
            moved.placement = Placement{18 + 0.5 * (i % 10), 6, 1.0 * i};
            const ZoneFigure frame = PrepareZoneFigure(moved, numbers.decimalSeparatorUtf8());
            QPainter painter(&screen);
            PaintZoneDrawing(painter, QRectF(0, 0, 1920, 1080), frame);
        }
        drag.push_back(t.nsecsElapsed() / 1e6);
        dragCpu.push_back(CpuMs() - cpu);
        t.restart();
        const QImage image = RenderZoneDrawing(drawing, pngSize, 300);
        render.push_back(t.nsecsElapsed() / 1e6);
        t.restart();
        bytes = DrawingPng(image);
        encode.push_back(t.nsecsElapsed() / 1e6);
        t.restart();
        if (!window.save(dir.filePath(QStringLiteral("drawing.png"))))
            return 1;
        png.push_back(t.nsecsElapsed() / 1e6);
    }
    std::printf("drawing (two rods with the building), median of %d runs\n", runs);
    std::printf("  both views at 1920 x 1080:               %7.1f ms\n", Median(paint));
    std::printf("  a frame while dragging (figure + paint): %7.1f ms (CPU %.1f ms)\n", Median(drag),
                Median(dragCpu));
    std::printf("  the drawing at 300 dpi (2953 x 1890):    %7.1f ms\n", Median(render));
    std::printf("  its true-colour PNG encoded (%lld kB):   %7.1f ms\n",
                static_cast<long long>(bytes.size() / 1024), Median(encode));
    std::printf("  PNG at 300 dpi saved (render, encode, write): %7.1f ms\n", Median(png));
    return 0;
}
