// The word-processor automation the report drives: five routines, each
// returning whether it succeeded. Failures inside them are caught there.
#pragma once

#include <QByteArray>
#include <QSize>
#include <QString>

namespace vostrel {

class WordAutomation {
public:
    virtual ~WordAutomation() = default;

    // Creates a new word-processor object, replacing the one held. True when
    // a word processor can show the result.
    virtual bool StartWord() = 0;
    // Shows (true) or hides the word processor's document.
    virtual bool SetWordVisible(bool visible) = 0;
    // Opens a document that the routines below then act on.
    virtual bool OpenDocument(const QString& path) = 0;
    // Makes the selection an empty insertion point at the start of the document.
    virtual bool ResetSelection() = 0;
    // Replaces the first occurrence of `tag` at or after the selection by
    // `value`; false when there is none or a call failed.
    virtual bool ReplaceTag(const QString& tag, const QString& value) = 0;
    // Replaces it in the same way by a picture: the PNG image `png` of
    // `pixels`, shown at `twips`.
    virtual bool ReplaceTagWithPicture(const QString& tag, const QByteArray& png, QSize pixels,
                                       QSize twips) = 0;

    // The file the document was written to when it was made visible; empty
    // before that, and when it could not be written.
    virtual QString DocumentFile() const = 0;
    // Why the last routine that failed did so, as a phrase for the user
    // ("не удалось прочитать шаблон «…»: …"); empty when nothing is known.
    virtual QString FailureReason() const = 0;
};

} // namespace vostrel
