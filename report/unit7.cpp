#include "unit7.h"

namespace vostrel {

TForm7::TForm7(Services& services)
    : Form(services, QStringLiteral("Генерация отчёта"), QSize(330, 78)) {}

} // namespace vostrel
