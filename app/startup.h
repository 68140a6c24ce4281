// Program start: the application title and icon, the five windows, the
// message loop; a window that cannot be created ends start-up with code 1.
#pragma once

class QApplication;

namespace vostrel {

int RunApplication(QApplication& app);

} // namespace vostrel
