#include "windowset.h"

#include "app/unit3.h"
#include "report/unit7.h"
#include "windows/unit4.h"
#include "windows/unit5.h"
#include "windows/unit6.h"
#include "windows/unit8.h"

namespace vostrel {

WindowSet::WindowSet(Services& services, ReportSetup& report)
    : form1_(std::make_unique<TForm1>(services, report)),
      form2_(std::make_unique<TForm2>(services, form1_->fields())),
      form5_(std::make_unique<TForm5>(services, form1_->fields())),
      form6_(std::make_unique<TForm6>(services, form1_->fields())),
      form7_(std::make_unique<TForm7>(services)), form8_(std::make_unique<TForm8>(services)) {
    form1_->setPeers(form2_.get(), form5_.get(), form6_.get(), form7_.get(), form8_.get());
    // The rod-height window blanks itself when another window becomes active.
    for (Form* other : std::initializer_list<Form*>{form1_.get(), form2_.get(), form5_.get(),
                                                    form7_.get(), form8_.get()})
        QObject::connect(other, &Form::activated, form6_.get(), &TForm6::otherWindowActivated);
}

// Auxiliary windows go first: they refer to the main window.
WindowSet::~WindowSet() {
    form8_.reset();
    form7_.reset();
    form6_.reset();
    form5_.reset();
    form2_.reset();
}

void WindowSet::showMain() {
    form1_->showCentredOnDesktop();
}

} // namespace vostrel
