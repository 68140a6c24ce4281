#include "unit4.h"

#include "app/unit3.h"

namespace vostrel {

TForm2::TForm2(Services& services, TForm1& form1)
    : Form(services, QStringLiteral("Карта средней продолжительности гроз в часах"),
           QSize(750, 550)),
      Form1(form1) {}

} // namespace vostrel
