// Program start: the application title and icon, the five windows, the
// message loop; a window that cannot be created ends start-up with code 1.
#pragma once

class QApplication;
class QCoreApplication;

namespace vostrel {

int RunApplication(QApplication& app);

// Installs Qt's Russian translations; false when they are not installed.
bool LoadQtTranslations(QCoreApplication& app);

} // namespace vostrel
