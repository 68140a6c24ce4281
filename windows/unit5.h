// Building-type window: steps through the catalogue and confirms a row.
#pragma once

#include "app/form.h"

namespace vostrel {

class TForm1;

class TForm5 final : public Form {
    Q_OBJECT
public:
    TForm5(Services& services, TForm1& form1);

private:
    TForm1& Form1;
};

} // namespace vostrel
