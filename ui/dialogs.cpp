#include "dialogs.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

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

QString MessageBoxes::openFileName(QWidget* parent, const QString& caption, const QString& folder,
                                   const QString& filters) {
    return QFileDialog::getOpenFileName(parent, caption, folder, filters);
}

Dialogs::Answer MessageBoxes::question(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Question, QString::fromUtf8(kTitle), text,
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, parent);
    box.setWindowModality(Qt::ApplicationModal);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("Да"));
    box.button(QMessageBox::No)->setText(QStringLiteral("Нет"));
    box.button(QMessageBox::Cancel)->setText(QStringLiteral("Отмена"));
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return Answer::Cancel;
    }
}

bool MessageBoxes::confirm(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Question, QString::fromUtf8(kTitle), text,
                    QMessageBox::Yes | QMessageBox::No, parent);
    box.setWindowModality(Qt::ApplicationModal);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("Да"));
    box.button(QMessageBox::No)->setText(QStringLiteral("Нет"));
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

} // namespace vostrel
