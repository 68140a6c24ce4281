#include "unit5.h"

#include "app/unit3.h"

namespace vostrel {

TForm5::TForm5(Services& services, TForm1& form1)
    : Form(services, QStringLiteral("Выбор типа здания"), QSize(688, 185)), Form1(form1) {}

} // namespace vostrel
