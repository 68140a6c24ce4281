// Thunderstorm map window: the legend click gives the expected number of strikes.
#pragma once

#include "app/form.h"

namespace vostrel {

class TForm1;

class TForm2 final : public Form {
    Q_OBJECT
public:
    TForm2(Services& services, TForm1& form1);

private:
    TForm1& Form1;
};

} // namespace vostrel
