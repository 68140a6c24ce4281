// Rod-height window: the rod height required for zone B.
#pragma once

#include "app/form.h"

namespace vostrel {

class TForm1;

class TForm6 final : public Form {
    Q_OBJECT
public:
    TForm6(Services& services, TForm1& form1);

private:
    TForm1& Form1;
};

} // namespace vostrel
