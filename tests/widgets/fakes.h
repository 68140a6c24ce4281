// Test doubles for the seams of the windows.
#pragma once

#include "ui/dialogs.h"

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

    // The answer to the next file dialogs (the name, and the filter chosen
    // unless empty); the captions asked, the names, filters and first
    // filters offered.
    QString fileName;
    QString filter;
    QStringList fileDialogs, suggested, offeredFilters, firstFilters;
    QString saveFileName(QWidget*, const QString& caption, const QString& name,
                         const QString& filters, QString* chosen) override {
        fileDialogs << caption;
        suggested << name;
        offeredFilters << filters;
        firstFilters << (chosen ? *chosen : QString());
        if (chosen && !filter.isEmpty())
            *chosen = filter;
        return fileName;
    }

    QStringList texts() const {
        QStringList out;
        for (const Shown& s : shown)
            out << s.text;
        return out;
    }
    void clear() { shown.clear(); }
};

#include "report/automation.h"

#include <QFileInfo>
#include <QMap>
#include <functional>

// Records the report's calls to the word processor; ReplaceTag fails for
// `missingTag`, StartWord returns `canShow`.
class RecordingWord final : public vostrel::WordAutomation {
public:
    QStringList calls;
    QString missingTag;
    bool canShow = true;
    bool showFails = false;          // SetWordVisible(true) fails
    std::function<void()> onReplace; // called at each ReplaceTag
    QString file = QStringLiteral("/tmp/report.rtf");

    bool StartWord() override {
        calls << QStringLiteral("StartWord");
        return canShow;
    }
    bool SetWordVisible(bool visible) override {
        calls << QStringLiteral("SetWordVisible(%1)").arg(visible ? "true" : "false");
        return canShow && !(visible && showFails);
    }
    bool OpenDocument(const QString& path) override {
        calls << QStringLiteral("OpenDocument(%1)").arg(path);
        if (QFileInfo(path).isFile())
            return true;
        failure = QStringLiteral("не найден шаблон «%1»").arg(path);
        return false;
    }
    bool ResetSelection() override {
        calls << QStringLiteral("ResetSelection");
        return true;
    }
    bool ReplaceTag(const QString& tag, const QString& value) override {
        calls << QStringLiteral("ReplaceTag(%1,[%2])").arg(tag, value);
        if (onReplace)
            onReplace();
        return tag != missingTag;
    }
    bool ReplaceTagWithPicture(const QString& tag, const QByteArray& png, QSize pixels,
                               QSize twips) override {
        calls << QStringLiteral("ReplaceTagWithPicture(%1,%2x%3,%4x%5)")
                     .arg(tag)
                     .arg(pixels.width())
                     .arg(pixels.height())
                     .arg(twips.width())
                     .arg(twips.height());
        pictures << png;
        if (onReplace)
            onReplace();
        return tag != missingTag;
    }
    QList<QByteArray> pictures;
    QString DocumentFile() const override { return file; }
    QString FailureReason() const override { return failure; }
    QString failure;

    // Each tag's values given to ReplaceTag, in order, without the marks
    // that set symbols in italics and subscripts.
    QMap<QString, QStringList> filled() const {
        QMap<QString, QStringList> out;
        for (const QString& call : calls)
            if (call.startsWith(QLatin1String("ReplaceTag(")))
                out[call.mid(11, 5)] << call.mid(call.indexOf(QLatin1Char('[')) + 1)
                                            .chopped(2)
                                            .remove(QChar(0x02))
                                            .remove(QChar(0x03))
                                            .remove(QChar(0x0E));
        return out;
    }
    // The values given to ReplaceTag, in order.
    QStringList values() const {
        QStringList out;
        for (const QString& call : calls)
            if (call.startsWith(QLatin1String("ReplaceTag(")))
                out << call.mid(call.indexOf(QLatin1Char('[')) + 1).chopped(2);
        return out;
    }
};
