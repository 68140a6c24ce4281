// Modal message boxes, behind a seam that widget tests replace.
#pragma once

#include "version.h"

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
    // Asks for the name of a file to save, offering `suggested` (a folder and
    // a name) and `filters` (";;" between them); `filter` names the filter
    // chosen at first and receives the one the user chose. Empty when the
    // user cancels.
    virtual QString saveFileName(QWidget* parent, const QString& caption, const QString& suggested,
                                 const QString& filters, QString* filter) = 0;
};

// The real thing: application-modal QMessageBox.
class MessageBoxes final : public Dialogs {
public:
    void message(QWidget* parent, const QString& text) override;
    void error(QWidget* parent, const QString& text) override;
    void applicationError(const QString& text) override;
    QString saveFileName(QWidget* parent, const QString& caption, const QString& suggested,
                         const QString& filters, QString* filter) override;
};

} // namespace vostrel
