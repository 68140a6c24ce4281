#include "unit7.h"

#include <QProgressBar>

namespace vostrel {

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

} // namespace vostrel
