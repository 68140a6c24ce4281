#include "unit4.h"

#include "calc/strike.h"
#include "windows/jpeg.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <cmath>
#include <stdexcept>

namespace vostrel {

namespace {
// Top-left corners of the click areas, in the order of the legend entries.
constexpr QPoint kClickAreas[8] = {{8, 480},   {8, 496},   {8, 512},   {144, 480},
                                   {144, 496}, {144, 512}, {288, 480}, {288, 496}};
constexpr QSize kClickAreaSize(105, 13);
} // namespace

QByteArray MapJpeg() {
    QFile file(QStringLiteral(":/vostrel/map.jpg"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

TForm2::TForm2(Services& services, const MainFields& form1)
    : Form(services, QStringLiteral("Карта средней продолжительности гроз в часах"),
           QSize(750, 550)),
      Form1(form1) {
    setObjectName(QStringLiteral("Form2"));
    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(0, 0, 750, 550);
    Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Image1->setMouseTracking(true);
    Image1->installEventFilter(this);

    for (int i = 0; i < 8; ++i) {
        QLabel* area = new QLabel(this);
        area->setObjectName(QStringLiteral("Label%1").arg(i + 1));
        area->setGeometry(QRect(kClickAreas[i], kClickAreaSize));
        area->setCursor(Qt::PointingHandCursor);
        area->setAccessibleName(QStringLiteral("%1 ч").arg(kThunderstormClasses[i].hours));
        area->installEventFilter(this);
        Labels[i] = area;
    }
}

// The map is decoded when it is first needed, which keeps it off the
// program's start.
void TForm2::showMap(const QWidget* owner) {
    if (Image1->pixmap().isNull()) {
        try {
            Image1->setPixmap(QPixmap::fromImage(DecodeJpeg(MapJpeg())));
        } catch (const std::runtime_error& e) {
            throw std::runtime_error(
                std::string("Карта средней продолжительности гроз повреждена: ") + e.what());
        }
    }
    showOver(owner);
}

bool TForm2::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Image1 && event->type() == QEvent::MouseMove) {
        handle(&TForm2::Image1MouseMove);
    } else if (event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        for (int i = 0; i < 8; ++i)
            if (watched == Labels[i] && mouse->button() == Qt::LeftButton &&
                Labels[i]->rect().contains(mouse->position().toPoint()))
                run([this, i] { LabelClick(i); });
    }
    return Form::eventFilter(watched, event);
}

// Each value is stored as soon as it is read: a bad text stops the capture
// there and leaves the rest as they were. The message for a bad text comes
// once: further moves over the map with the same texts pass silently, or it
// would return as soon as the pointer dismissed it.
void TForm2::Image1MouseMove() {
    const QStringList texts = {Form1.Edit1->text(), Form1.Edit2->text(), Form1.Edit3->text()};
    if (texts == refusedTexts_)
        return;
    refusedTexts_ = texts; // kept only if a conversion below throws
    S_ = numbers().toFloat(texts[0]);
    L_ = numbers().toFloat(texts[1]);
    h_ = numbers().toFloat(texts[2]);
    refusedTexts_.clear();
}

void TForm2::LabelClick(int entry) {
    n_ = kThunderstormClasses[static_cast<size_t>(entry)].density;
    N_ = StrikeCount(S_, L_, h_, n_);
    // Every number written must read back: an overflow writes nothing.
    if (!std::isfinite(N_)) {
        message(QStringLiteral("Размеры здания слишком велики: число ударов молнии N не "
                               "вычисляется"));
        return;
    }
    hours_ = kThunderstormClasses[static_cast<size_t>(entry)].hours;
    density_ = n_;
    written_ = {S_, L_, h_, n_};
    Form1.Edit4->setText(
        QString::fromStdString(StrikeCountText(N_, numbers().decimalSeparatorUtf8())));
    hide();
}

} // namespace vostrel
