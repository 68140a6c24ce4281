#include "unit6.h"

#include "app/unit3.h"

namespace vostrel {

TForm6::TForm6(Services& services, TForm1& form1)
    : Form(services, QStringLiteral("Расчёт высоты молниеотвода"), QSize(500, 136)), Form1(form1) {}

} // namespace vostrel
