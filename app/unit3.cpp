#include "unit3.h"

#include <QCloseEvent>
#include <QCoreApplication>

namespace vostrel {

TForm1::TForm1(Services& services) : Form(services, QString::fromUtf8(kTitle), QSize(783, 335)) {
    setAttribute(Qt::WA_QuitOnClose, true);
}

void TForm1::setPeers(TForm2* form2, TForm5* form5, TForm6* form6, TForm7* form7) {
    Form2 = form2;
    Form5 = form5;
    Form6 = form6;
    Form7 = form7;
}

void TForm1::closeEvent(QCloseEvent* event) {
    // Closing the main window ends the program, whatever else is open.
    event->accept();
    QCoreApplication::quit();
}

} // namespace vostrel
