#include "dialogs.h"

#include <QFileDialog>
#include <QMessageBox>

namespace vostrel {

namespace {
void showBox(QWidget* parent, QMessageBox::Icon icon, const QString& caption, const QString& text) {
    QMessageBox box(icon, caption, text, QMessageBox::Ok, parent);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}
} // namespace

void MessageBoxes::message(QWidget* parent, const QString& text) {
    showBox(parent, QMessageBox::NoIcon, QString::fromUtf8(kTitle), text);
}

void MessageBoxes::error(QWidget* parent, const QString& text) {
    showBox(parent, QMessageBox::Critical, QString::fromUtf8(kTitle), text);
}

void MessageBoxes::applicationError(const QString& text) {
    showBox(nullptr, QMessageBox::Critical, QStringLiteral("Application Error"), text);
}

QString MessageBoxes::saveFileName(QWidget* parent, const QString& caption,
                                   const QString& suggested, const QString& filters,
                                   QString* filter) {
    return QFileDialog::getSaveFileName(parent, caption, suggested, filters, filter);
}

} // namespace vostrel
