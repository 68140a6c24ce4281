#include "startup.h"

#include "app/windowset.h"
#include "report/report.h"
#include "report/wordapp.h"
#include "windows/catalogue.h"

#include <QApplication>
#include <QIcon>
#include <exception>

namespace vostrel {

int RunApplication(QApplication& app) {
    QApplication::setApplicationName(QStringLiteral("vostrel"));
    QApplication::setApplicationVersion(QStringLiteral("1.0"));
    QGuiApplication::setDesktopFileName(QStringLiteral("vostrel"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/vostrel/vostrel.png")));

    const QString programDir = QCoreApplication::applicationDirPath();
    MessageBoxes dialogs;
    DesktopViewer viewer;
    RtfAutomation word(viewer);
    Services services{dialogs, word, NumberText(), Catalogue::locate(programDir),
                      ReportTemplate::locate(programDir)};
    std::unique_ptr<WindowSet> windows;
    try {
        windows = std::make_unique<WindowSet>(services);
    } catch (const std::exception& e) {
        dialogs.applicationError(QString::fromUtf8(e.what()));
        return 1;
    }
    windows->showMain();
    return app.exec();
}

} // namespace vostrel
