#include "unit7.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProgressBar>
#include <QWindow>

namespace vostrel {

namespace {
// Events of the report's own windows are handled while it runs (the
// progress window paints); the user's input waits until it has finished.
void LetPaint() {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}
} // namespace

TForm7::TForm7(Services& services)
    : Form(services, QStringLiteral("Генерация отчёта"), QSize(330, 78)) {
    setObjectName(QStringLiteral("Form7"));
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setGeometry(24, 16, 289, 25);
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false); // a smooth bar without a figure
    ProgressBar1->setAccessibleName(windowTitle());
}

void TForm7::start(const QWidget* owner) {
    showOver(owner);
    ProgressBar1->setValue(0);
    // The window system maps the window a little later; until then nothing
    // would be painted.
    QElapsedTimer waited;
    waited.start();
    while (!(windowHandle() && windowHandle()->isExposed()) && waited.elapsed() < 500)
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 20);
    setProgress(0);
}

void TForm7::setProgress(int percent) {
    ProgressBar1->setValue(percent);
    ProgressBar1->repaint();
    LetPaint();
}

} // namespace vostrel
