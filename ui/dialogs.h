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
    // Asks for a file to open, starting in `folder`; empty when the user cancels.
    virtual QString openFileName(QWidget* parent, const QString& caption, const QString& folder,
                                 const QString& filters) = 0;

    enum class Answer { Yes, No, Cancel };
    // A question with the buttons "Да", "Нет" and "Отмена"; closing the box cancels.
    virtual Answer question(QWidget* parent, const QString& text) = 0;
    // A question with the buttons "Да" and "Нет"; true for "Да". Closing the
    // box answers "Нет". Doubles may leave it to question().
    virtual bool confirm(QWidget* parent, const QString& text) {
        return question(parent, text) == Answer::Yes;
    }
};

// The real thing: application-modal QMessageBox.
class MessageBoxes final : public Dialogs {
public:
    void message(QWidget* parent, const QString& text) override;
    void error(QWidget* parent, const QString& text) override;
    void applicationError(const QString& text) override;
    QString saveFileName(QWidget* parent, const QString& caption, const QString& suggested,
                         const QString& filters, QString* filter) override;
    QString openFileName(QWidget* parent, const QString& caption, const QString& folder,
                         const QString& filters) override;
    Answer question(QWidget* parent, const QString& text) override;
    bool confirm(QWidget* parent, const QString& text) override;
};

} // namespace vostrel
