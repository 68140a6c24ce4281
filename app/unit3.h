// Main window: the building page and the lightning-rod page.
#pragma once

#include "app/form.h"

namespace vostrel {

class TForm2;
class TForm5;
class TForm6;
class TForm7;

class TForm1 final : public Form {
    Q_OBJECT
public:
    explicit TForm1(Services& services);

    // The windows this one opens, reads or writes; set once after all exist.
    void setPeers(TForm2* form2, TForm5* form5, TForm6* form6, TForm7* form7);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    TForm2* Form2 = nullptr;
    TForm5* Form5 = nullptr;
    TForm6* Form6 = nullptr;
    TForm7* Form7 = nullptr;
};

} // namespace vostrel
