// The word-processor automation the report drives: five routines, each
// returning whether it was done or why not. Failures inside them are caught
// there and given as that reason, never thrown.
#pragma once

#include "calc/outcome.h"

#include <QByteArray>
#include <QSize>
#include <QString>

namespace vostrel {

// Done, or why not as a phrase for the user ("не удалось прочитать шаблон
// «…»: …"), which the report puts after "Отчёт не составлен: ".
using WordOutcome = Outcome<void, QString>;

class WordAutomation {
public:
    virtual ~WordAutomation() = default;

    // Creates a new word-processor object, replacing the one held.
    virtual WordOutcome StartWord() = 0;
    // Whether the object started last can show a document to the user;
    // without that a document made visible is only saved for the user.
    virtual bool CanShow() const = 0;
    // Shows (true) or hides the word processor's document. Showing fails
    // when nothing could show it; DocumentFile() then tells whether it was
    // saved for the user all the same.
    virtual WordOutcome SetWordVisible(bool visible) = 0;
    // Opens a document that the routines below then act on.
    virtual WordOutcome OpenDocument(const QString& path) = 0;
    // Makes the selection an empty insertion point at the start of the document.
    virtual WordOutcome ResetSelection() = 0;
    // Replaces the first occurrence of `tag` at or after the selection by
    // `value`; fails when there is none or a call failed. A word processor
    // whose calls can fail for a while and then succeed (one in another
    // process, busy) retries them here; the caller makes one call per
    // replacement, and a failure is final.
    virtual WordOutcome ReplaceTag(const QString& tag, const QString& value) = 0;
    // Replaces it in the same way by a picture: the PNG image `png` of
    // `pixels`, shown at `twips`.
    virtual WordOutcome ReplaceTagWithPicture(const QString& tag, const QByteArray& png,
                                              QSize pixels, QSize twips) = 0;

    // The file the document was written to when it was made visible; empty
    // before that, and when it could not be written.
    virtual QString DocumentFile() const = 0;
};

} // namespace vostrel
