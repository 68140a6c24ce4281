#include "startup.h"

#include "app/windowset.h"
#include "report/report.h"
#include "report/wordapp.h"
#include "version.h"
#include "windows/catalogue.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QTranslator>
#include <exception>

namespace vostrel {

bool LoadQtTranslations(QCoreApplication& app) {
    // The program speaks Russian whatever the regional settings: so do Qt's
    // own texts (context menus, file dialogs, standard buttons).
    auto* translator = new QTranslator(&app);
    if (!translator->load(QStringLiteral("qtbase_ru"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

int RunApplication(QApplication& app) {
    QApplication::setApplicationName(QStringLiteral("vostrel"));
    QApplication::setApplicationVersion(QString::fromLatin1(kVersion));
    QGuiApplication::setDesktopFileName(QStringLiteral("vostrel"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/vostrel/vostrel.png")));
    LoadQtTranslations(app);

    const QString programDir = QCoreApplication::applicationDirPath();
    MessageBoxes dialogs;
    DesktopViewer viewer;
    RtfAutomation word(viewer);
    Services services{dialogs, NumberText(), Catalogue::locate(programDir)};
    ReportSetup report{word, ReportSetup::locate(programDir)};
    std::unique_ptr<WindowSet> windows;
    try {
        windows = std::make_unique<WindowSet>(services, report);
    } catch (const std::exception& e) {
        dialogs.applicationError(QString::fromUtf8(e.what()));
        return 1;
    }
    windows->showMain();
    return app.exec();
}

} // namespace vostrel
