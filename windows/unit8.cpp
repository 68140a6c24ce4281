#include "unit8.h"

#include "ui/controls.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPushButton>
#include <QSaveFile>
#include <QSvgGenerator>
#include <QVBoxLayout>
#include <cmath>

namespace vostrel {

namespace {
// Paints the drawing at whatever size the window gives it.
class Canvas final : public QWidget {
public:
    Canvas(QWidget* parent, const ZoneFigure& drawing) : QWidget(parent), drawing_(drawing) {
        setAttribute(Qt::WA_OpaquePaintEvent); // every pixel painted: no flicker
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        PaintZoneDrawing(painter, rect(), drawing_);
    }

private:
    const ZoneFigure& drawing_;
};

int Pixels(double mm, int dpi) {
    return static_cast<int>(std::lround(mm / 25.4 * dpi));
}
} // namespace

TForm8::TForm8(Services& services)
    : Form(services, QStringLiteral("Зона защиты"), QSize(900, 560)) {
    setObjectName(QStringLiteral("Form8"));
    // Unlike the other windows this one may be resized, down to 640 x 480.
    setWindowFlags(Qt::Window);
    setMinimumSize(640, 480);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    Image1 = new Canvas(this, figure_);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setAccessibleName(QStringLiteral("Чертёж зоны защиты"));
    Button1 = MakeButton(this, "Button1", {0, 0, 105, 25}, QStringLiteral("Сохранить…"), 10);
    Button1->setFixedSize(105, 25);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(Image1, 1);
    layout->addLayout(buttons);
    onClick(Button1, &TForm8::Button1Click);
}

void TForm8::showDrawing(const ZoneDrawing& drawing, const QWidget* owner) {
    figure_ = PrepareZoneFigure(drawing, numbers().decimalSeparatorUtf8());
    Image1->update();
    showOver(owner);
}

QString TForm8::save(const QString& file) const {
    const QString suffix = QFileInfo(file).suffix().toLower();
    if (suffix != QLatin1String("png") && suffix != QLatin1String("svg") &&
        suffix != QLatin1String("pdf"))
        return QStringLiteral("Чертёж сохраняется в формате PNG, SVG или PDF: у файла «%1» нет "
                              "расширения .png, .svg или .pdf")
            .arg(QDir::toNativeSeparators(file));
    QSaveFile out(file);
    const auto failed = [&] {
        return QStringLiteral("Не удалось сохранить чертёж в файл «%1»: %2")
            .arg(QDir::toNativeSeparators(file), out.errorString());
    };
    if (!out.open(QIODevice::WriteOnly))
        return failed();
    // The drawing over the whole of a vector device.
    const auto paintOn = [this](QPaintDevice& device, QSizeF size) {
        QPainter painter;
        if (!painter.begin(&device))
            return false;
        PaintZoneDrawing(painter, QRectF(QPointF(0, 0), size), figure_);
        return painter.end();
    };
    bool drawn = true;
    if (suffix == QLatin1String("png")) {
        const QByteArray png = DrawingPng(RenderZoneDrawing(
            figure_, {Pixels(kDrawingMm.width(), kPngDpi), Pixels(kDrawingMm.height(), kPngDpi)},
            kPngDpi));
        drawn = !png.isEmpty() && out.write(png) == png.size();
    } else if (suffix == QLatin1String("svg")) {
        constexpr int dpi = 96;
        const QSize size(Pixels(kDrawingMm.width(), dpi), Pixels(kDrawingMm.height(), dpi));
        QSvgGenerator svg;
        svg.setOutputDevice(&out);
        svg.setResolution(dpi);
        svg.setSize(size);
        svg.setViewBox(QRect(QPoint(0, 0), size));
        svg.setTitle(windowTitle());
        drawn = paintOn(svg, QSizeF(size));
    } else {
        QPdfWriter pdf(&out);
        pdf.setPageSize(QPageSize(kDrawingMm, QPageSize::Millimeter));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        pdf.setResolution(kPngDpi);
        pdf.setTitle(windowTitle());
        drawn = paintOn(pdf, QSizeF(pdf.width(), pdf.height()));
    }
    if (!drawn) {
        out.cancelWriting();
        return QStringLiteral("Не удалось сохранить чертёж в файл «%1»: ошибка записи")
            .arg(QDir::toNativeSeparators(file));
    }
    if (!out.commit())
        return failed();
    return {};
}

void TForm8::Button1Click() {
    const QString file = services_.dialogs.saveFileName(
        this, QStringLiteral("Сохранить чертёж"),
        QStringLiteral("Рисунок PNG (*.png);;Рисунок SVG (*.svg);;Документ PDF (*.pdf)"));
    if (file.isEmpty())
        return;
    const QString failure = save(file);
    if (!failure.isEmpty())
        message(failure);
}

} // namespace vostrel
