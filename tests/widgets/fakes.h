// Test doubles for the seams of the windows.
#pragma once

#include "app/dialogs.h"

#include <QStringList>

// Records every message box instead of showing it, so no test blocks.
class RecordingDialogs final : public vostrel::Dialogs {
public:
    struct Shown {
        enum Kind { Message, Error, ApplicationError } kind;
        QString text;
    };
    QList<Shown> shown;

    void message(QWidget*, const QString& text) override { shown.append({Shown::Message, text}); }
    void error(QWidget*, const QString& text) override { shown.append({Shown::Error, text}); }
    void applicationError(const QString& text) override {
        shown.append({Shown::ApplicationError, text});
    }

    QStringList texts() const {
        QStringList out;
        for (const Shown& s : shown)
            out << s.text;
        return out;
    }
    void clear() { shown.clear(); }
};
