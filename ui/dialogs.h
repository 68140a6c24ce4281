// Modal message boxes, behind a seam that widget tests replace.
#pragma once

#include "ui/version.h"

#include <QString>

class QWidget;

namespace vostrel {

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // A program message: the text, an "OK" button, no icon.
    virtual void message(QWidget* parent, const QString& text) = 0;
    // A handler stopped by an error: the text with an error icon.
    virtual void error(QWidget* parent, const QString& text) = 0;
    // Start-up failed: captioned "Application Error", error icon.
    virtual void applicationError(const QString& text) = 0;
    // Asks for the name of a file to save; empty when the user cancels.
    virtual QString saveFileName(QWidget* parent, const QString& caption,
                                 const QString& filters) = 0;
};

// The real thing: application-modal QMessageBox.
class MessageBoxes final : public Dialogs {
public:
    void message(QWidget* parent, const QString& text) override;
    void error(QWidget* parent, const QString& text) override;
    void applicationError(const QString& text) override;
    QString saveFileName(QWidget* parent, const QString& caption, const QString& filters) override;
};

} // namespace vostrel
