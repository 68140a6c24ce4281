// Vostrel: lightning protection of buildings.
#include "app/startup.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    return vostrel::RunApplication(app);
}
