#include "form.h"

#include <QGuiApplication>
#include <QScreen>

namespace vostrel {

QFont WindowFont(int pointSize) {
    QFont font(QStringLiteral("Sans Serif"), pointSize);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

Form::Form(Services& services, const QString& caption, QSize clientSize)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      services_(services) {
    setWindowTitle(caption);
    setFixedSize(clientSize);
    setFont(WindowFont());
    // Only the main window's close ends the program.
    setAttribute(Qt::WA_QuitOnClose, false);
}

void Form::showOver(const QWidget* owner) {
    if (!isVisible()) {
        const QPoint centre =
            owner ? owner->frameGeometry().center() : screen()->availableGeometry().center();
        move(centre - QPoint(width() / 2, height() / 2));
        show();
    }
    raise();
    activateWindow();
}

void Form::showCentredOnDesktop() {
    showOver(nullptr);
}

bool Form::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate)
        emit activated(this);
    return QWidget::event(event);
}

} // namespace vostrel
