// The application's error handler: every event handler runs through it, so a
// failed conversion stops the handler at that step and is shown to the user,
// and nothing throws through Qt's event loop.
#pragma once

#include "ui/dialogs.h"

#include <QString>
#include <exception>
#include <utility>

class QWidget;

namespace vostrel {

template <class Handler>
void RunHandler(Dialogs& dialogs, QWidget* parent, Handler&& handler) noexcept {
    QString message;
    try {
        std::forward<Handler>(handler)();
        return;
    } catch (const std::exception& e) { // ConversionError among them
        message = QString::fromUtf8(e.what());
    } catch (...) {
        message = QStringLiteral("Unknown error.");
    }
    try {
        dialogs.error(parent, message);
    } catch (...) {
        // Showing the message failed too; there is nobody left to tell.
    }
}

} // namespace vostrel
