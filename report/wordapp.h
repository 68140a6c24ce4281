// The word processor of this program: an RTF document edited in memory, shown
// to the user by writing it to a new private file that LibreOffice Writer (or
// the desktop's handler for RTF) opens as an untitled document.
#pragma once

#include "report/automation.h"
#include "rtf/rtf.h"

#include <QString>
#include <memory>
#include <optional>

namespace vostrel {

// What shows a written document to the user.
class DocumentViewer {
public:
    virtual ~DocumentViewer() = default;
    virtual bool canShow() const = 0;
    virtual bool show(const QString& file) = 0;
};

// LibreOffice when it is on the PATH (a new, untitled document from the file),
// else the desktop's handler for RTF.
class DesktopViewer final : public DocumentViewer {
public:
    bool canShow() const override;
    bool show(const QString& file) override;

private:
    static QString office();
    static bool desktopHandlesRtf();
};

// The folder of the documents handed to the viewer, readable by this user
// only, made when missing; the filled copies older than `maxAgeDays` or
// beyond the `keep` newest are removed from it when a report is shown.
Outcome<QString, QString> PrivateReportFolder();
void PruneReportCopies(const QString& folder, int keep = 50, int maxAgeDays = 30);

// The word-processor object: one document, a selection, a visibility. Each
// operation that can fail gives the reason as a phrase for the user.
class RtfWordProcessor {
public:
    explicit RtfWordProcessor(DocumentViewer& viewer) : viewer_(viewer) {}

    bool canShow() const { return viewer_.canShow(); }
    // Reads the file (never writes it) and makes it the document; fails when
    // it is missing, cannot be read or is not an RTF document.
    WordOutcome open(const QString& path);
    bool isOpen() const { return document_.has_value(); }
    // Visible: writes the document to a new file and shows it. Without a
    // viewer the file goes to the documents folder and showing fails with
    // file() naming it; when it cannot be written, file() stays empty.
    WordOutcome setVisible(bool visible);
    WordOutcome resetSelection();
    // Selects the next occurrence of `text` at or after the selection; fails,
    // naming the template and the tag, when there is none.
    WordOutcome find(const QString& text);
    // Replaces the selected text by `value`, which then is the selection.
    void replaceSelection(const QString& value);
    // Replaces the selected text by a picture; the selection is then empty,
    // just after it.
    void replaceSelection(const rtf::Picture& picture);
    const QString& file() const { return file_; }

private:
    WordOutcome show();

    DocumentViewer& viewer_;
    std::optional<rtf::Document> document_;
    size_t selectionStart_ = 0, selectionEnd_ = 0;
    QString path_; // the template's path, named in the reasons
    QString name_; // the template's name, which the written copies carry
    QString file_;
};

// The five routines over RtfWordProcessor objects. Its edits are made in
// memory and give the same result however often they are tried, so a
// failure is never retried.
class RtfAutomation final : public WordAutomation {
public:
    explicit RtfAutomation(DocumentViewer& viewer) : viewer_(viewer) {}

    WordOutcome StartWord() override;
    bool CanShow() const override { return WordApp && WordApp->canShow(); }
    WordOutcome SetWordVisible(bool visible) override;
    WordOutcome OpenDocument(const QString& path) override;
    WordOutcome ResetSelection() override;
    WordOutcome ReplaceTag(const QString& tag, const QString& value) override;
    WordOutcome ReplaceTagWithPicture(const QString& tag, const QByteArray& png, QSize pixels,
                                      QSize twips) override;
    QString DocumentFile() const override { return WordApp ? WordApp->file() : QString(); }

private:
    // Runs a routine's calls on the held object; an exception from them (the
    // RTF engine's refusal of an edit, memory) becomes the failure's reason.
    template <class Calls> WordOutcome guarded(Calls&& calls) noexcept;

    DocumentViewer& viewer_;
    std::unique_ptr<RtfWordProcessor> WordApp; // the held word-processor object
};

} // namespace vostrel
