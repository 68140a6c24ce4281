// Common behaviour of the program's windows: fixed client size, title
// bar with the system menu and close box only, window font, showing centred,
// and handlers run through the application's error handler.
#pragma once

#include "ui/errorhandler.h"
#include "ui/services.h"

#include <QAbstractButton>
#include <QWidget>

namespace vostrel {

class Form : public QWidget {
    Q_OBJECT
public:
    Form(Services& services, const QString& caption, QSize clientSize);

    // Shows the window centred over `owner` if it is hidden; a visible one
    // is only brought to the front.
    void showOver(const QWidget* owner);
    void showCentredOnDesktop();

signals:
    // This window has become the application's active window.
    void activated(vostrel::Form* form);

protected:
    bool event(QEvent* event) override;

    // Runs a handler; a conversion failure stops it with the error message.
    template <class Handler> void run(Handler&& handler) {
        RunHandler(services_.dialogs, this, std::forward<Handler>(handler));
    }
    // Runs a handler of this window through the error handler.
    template <class Window> void handle(void (Window::*handler)()) {
        run([this, handler] { (static_cast<Window*>(this)->*handler)(); });
    }
    // A click on `button` runs `handler` through the error handler.
    template <class Window> void onClick(QAbstractButton* button, void (Window::*handler)()) {
        connect(button, &QAbstractButton::clicked, this, [this, handler] { handle(handler); });
    }
    void message(const QString& text) { services_.dialogs.message(this, text); }
    const NumberText& numbers() const { return services_.numbers; }

    Services& services_;
};

// The window font: the platform's sans-serif at the given point size.
QFont WindowFont(int pointSize = 8);

} // namespace vostrel
