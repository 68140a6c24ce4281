#include "drawing/export.h"

#include "version.h"

#include <QFontMetricsF>
#include <QIODevice>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <cmath>

namespace vostrel {

namespace {
int Pixels(double mm, int dpi) {
    return static_cast<int>(std::lround(mm / 25.4 * dpi));
}

// Millimetres of a sheet to device units, from its top left corner.
class Sheet {
public:
    Sheet(QPainter& p, const QRectF& page)
        : p_(p), origin_(page.topLeft()), perMm_(p.device()->logicalDpiX() / 25.4) {}

    qreal mm(qreal v) const { return v * perMm_; }
    QRectF rect(qreal x, qreal y, qreal w, qreal h) const {
        return {origin_.x() + mm(x), origin_.y() + mm(y), mm(w), mm(h)};
    }
    void line(qreal x1, qreal y1, qreal x2, qreal y2, qreal widthMm) {
        p_.setPen(QPen(Qt::black, mm(widthMm)));
        p_.drawLine(rect(x1, y1, 0, 0).topLeft(), rect(x2, y2, 0, 0).topLeft());
    }
    // The text in the cell, its font made smaller until it fits.
    void text(const QRectF& cellMm, const QString& text, qreal points,
              int align = Qt::AlignCenter) {
        const QRectF cell = rect(cellMm.x(), cellMm.y(), cellMm.width(), cellMm.height())
                                .adjusted(mm(0.8), 0, -mm(0.8), 0);
        QFont font(QStringLiteral("Sans Serif"));
        font.setStyleHint(QFont::SansSerif);
        const int flags = align | Qt::TextWordWrap;
        for (; points > 4; points -= 0.5) {
            font.setPointSizeF(points);
            const QRectF need = QFontMetricsF(font, p_.device()).boundingRect(cell, flags, text);
            if (need.width() <= cell.width() && need.height() <= cell.height())
                break;
        }
        p_.setFont(font);
        p_.setPen(Qt::black);
        p_.drawText(cell, flags, text);
    }

private:
    QPainter& p_;
    QPointF origin_;
    qreal perMm_;
};

// The main inscription, 185 x 55 mm, whose top left corner is (x, y) mm:
// the revision and signature rows on the left, the object, the drawing's
// name and the sheet's data on the right.
void TitleBlock(Sheet& s, qreal x, qreal y, const SheetInscription& in, double denominator) {
    const qreal thick = 0.5, thin = 0.25;
    const qreal columns[] = {0, 7, 17, 40, 55, 65}; // Изм., Лист, № докум., Подп., Дата
    s.line(x, y, x + 185, y, thick);
    for (int row = 1; row < 11; ++row) // rows of 5 mm in the left part
        s.line(x, y + 5 * row, x + 65, y + 5 * row, row == 5 || row == 6 ? thick : thin);
    for (qreal c : columns)
        s.line(x + c, y, x + c, y + (c == 7 ? 30 : 55), thick);
    s.line(x + 135, y + 15, x + 135, y + 40, thick);
    s.line(x + 65, y + 15, x + 185, y + 15, thick);
    s.line(x + 65, y + 40, x + 185, y + 40, thick);
    s.line(x + 135, y + 20, x + 185, y + 20, thin);
    s.line(x + 135, y + 35, x + 185, y + 35, thin);
    s.line(x + 160, y + 15, x + 160, y + 20, thin);
    const char* heads[] = {"Изм.", "Лист", "№ докум.", "Подп.", "Дата"};
    for (int i = 0; i < 5; ++i)
        s.text({x + columns[i], y + 25, columns[i + 1] - columns[i], 5},
               QString::fromUtf8(heads[i]), 7);
    const QString date = in.date.toString(QStringLiteral("dd.MM.yy"));
    const char* roles[] = {"Разработал", "Проверил", "Т. контр.", "Н. контр.", "Утвердил"};
    for (int i = 0; i < 5; ++i)
        s.text({x, y + 30 + 5 * i, 17, 5}, QString::fromUtf8(roles[i]), 7, Qt::AlignLeft);
    s.text({x + 55, y + 30, 10, 5}, date, 7);
    s.text({x + 65, y, 120, 15}, in.object, 11);
    s.text({x + 65, y + 15, 70, 25}, in.name, 12);
    s.text({x + 135, y + 15, 25, 5}, QStringLiteral("Масштаб"), 7);
    s.text({x + 160, y + 15, 25, 5}, QStringLiteral("Лист 1 / 1"), 7);
    s.text({x + 135, y + 20, 50, 15}, QStringLiteral("1:%1").arg(denominator), 12);
    s.text({x + 135, y + 35, 50, 5}, QStringLiteral("Дата: %1").arg(date), 7);
    s.text({x + 65, y + 40, 120, 15}, QString::fromUtf8(kTitle), 9);
}
} // namespace

QString RodTypeName(std::int32_t code) {
    switch (code) {
    case kSingleRod:
        return QStringLiteral("одиночный стержневой");
    case kDoubleRod:
        return QStringLiteral("двойной стержневой");
    case kUnequalRods:
        return QStringLiteral("двойной стержневой разной высоты");
    case kSingleCatenary:
        return QStringLiteral("одиночный тросовый");
    case kDoubleCatenary:
        return QStringLiteral("двойной тросовый");
    case kRodSystem:
        return QStringLiteral("многократный стержневой");
    default:
        return {};
    }
}

void PaintSheet(QPainter& painter, const QRectF& page, const ZoneFigure& figure,
                const SheetInscription& sheet) {
    Sheet s(painter, page);
    const qreal width = page.width() / s.mm(1), height = page.height() / s.mm(1);
    painter.fillRect(page, Qt::white);
    // The frame: 20 mm from the left edge (for binding), 5 mm from the others.
    painter.setPen(QPen(Qt::black, s.mm(0.5)));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(s.rect(20, 5, width - 25, height - 10));
    // The drawing above the title block, at a standard scale.
    const double denominator =
        PaintZoneDrawing(painter, s.rect(21, 6, width - 27, height - 10 - 55 - 2), figure,
                         PaintOptions{true, nullptr, nullptr});
    TitleBlock(s, width - 5 - 185, height - 5 - 55, sheet, denominator);
}

bool WriteDrawing(QIODevice& out, DrawingFormat format, const ZoneFigure& figure,
                  const SheetInscription& sheet) {
    if (format == DrawingFormat::Png) {
        const QByteArray png = DrawingPng(RenderZoneDrawing(
            figure, {Pixels(kDrawingMm.width(), kPngDpi), Pixels(kDrawingMm.height(), kPngDpi)},
            kPngDpi));
        return !png.isEmpty() && out.write(png) == png.size();
    }
    QPainter painter;
    if (format == DrawingFormat::Svg) {
        constexpr int dpi = 96;
        const QSize size(Pixels(kDrawingMm.width(), dpi), Pixels(kDrawingMm.height(), dpi));
        QSvgGenerator svg;
        svg.setOutputDevice(&out);
        svg.setResolution(dpi);
        svg.setSize(size);
        svg.setViewBox(QRect(QPoint(0, 0), size));
        svg.setTitle(sheet.name);
        if (!painter.begin(&svg))
            return false;
        PaintZoneDrawing(painter, QRectF(QPointF(0, 0), QSizeF(size)), figure);
        return painter.end();
    }
    QPdfWriter pdf(&out);
    pdf.setPageSize(QPageSize(format == DrawingFormat::PdfA3 ? QPageSize::A3 : QPageSize::A4));
    pdf.setPageOrientation(QPageLayout::Landscape);
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    pdf.setResolution(kPngDpi);
    pdf.setTitle(sheet.name);
    if (!painter.begin(&pdf))
        return false;
    PaintSheet(painter, QRectF(0, 0, pdf.width(), pdf.height()), figure, sheet);
    return painter.end();
}

} // namespace vostrel
