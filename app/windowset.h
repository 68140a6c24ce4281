// The six windows of the program, created once in start-up order and handed
// the windows each of them reads or writes.
#pragma once

#include "report/report.h"
#include "ui/services.h"

#include <memory>

namespace vostrel {

class TForm1;
class TForm2;
class TForm5;
class TForm6;
class TForm7;
class TForm8;

class WindowSet {
public:
    // Creates Form1, Form2, Form5, Form6, Form7, then the drawing window Form8,
    // all hidden. Throws std::runtime_error when a window cannot be created
    // (the catalogue).
    WindowSet(Services& services, ReportSetup& report);
    ~WindowSet();

    WindowSet(const WindowSet&) = delete;
    WindowSet& operator=(const WindowSet&) = delete;

    TForm1& Form1() const { return *form1_; }
    TForm2& Form2() const { return *form2_; }
    TForm5& Form5() const { return *form5_; }
    TForm6& Form6() const { return *form6_; }
    TForm7& Form7() const { return *form7_; }
    TForm8& Form8() const { return *form8_; }

    // Shows the main window centred on the desktop.
    void showMain();

private:
    std::unique_ptr<TForm1> form1_;
    std::unique_ptr<TForm2> form2_;
    std::unique_ptr<TForm5> form5_;
    std::unique_ptr<TForm6> form6_;
    std::unique_ptr<TForm7> form7_;
    std::unique_ptr<TForm8> form8_;
};

} // namespace vostrel
