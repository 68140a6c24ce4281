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
// only; the filled copies older than `maxAgeDays` or beyond the `keep`
// newest are removed from it when a report is shown.
QString PrivateReportFolder();
void PruneReportCopies(const QString& folder, int keep = 50, int maxAgeDays = 30);

// The word-processor object: one document, a selection, a visibility.
class RtfWordProcessor {
public:
    explicit RtfWordProcessor(DocumentViewer& viewer) : viewer_(viewer) {}

    bool canShow() const { return viewer_.canShow(); }
    // Reads the file (never writes it) and makes it the document. Throws
    // std::runtime_error with a phrase for the user when it is missing,
    // cannot be read or is not an RTF document.
    void open(const QString& path);
    // Visible: writes the document to a new file and shows it. Returns false
    // when nothing could show it; the file is written all the same, to the
    // documents folder when no viewer is there. Throws std::runtime_error
    // with the reason when the file cannot be written.
    bool setVisible(bool visible);
    void resetSelection();
    // Selects the next occurrence of `text` at or after the selection.
    bool find(const QString& text);
    // Replaces the selected text by `value`, which then is the selection.
    void replaceSelection(const QString& value);
    // Replaces the selected text by a picture; the selection is then empty,
    // just after it.
    void replaceSelection(const rtf::Picture& picture);
    const QString& file() const { return file_; }

private:
    rtf::Document& document();

    DocumentViewer& viewer_;
    std::optional<rtf::Document> document_;
    size_t selectionStart_ = 0, selectionEnd_ = 0;
    QString name_; // the template's name, which the written copies carry
    QString file_;
};

// The five routines over RtfWordProcessor objects.
class RtfAutomation final : public WordAutomation {
public:
    explicit RtfAutomation(DocumentViewer& viewer) : viewer_(viewer) {}

    bool StartWord() override;
    bool SetWordVisible(bool visible) override;
    bool OpenDocument(const QString& path) override;
    bool ResetSelection() override;
    bool ReplaceTag(const QString& tag, const QString& value) override;
    bool ReplaceTagWithPicture(const QString& tag, const QByteArray& png, QSize pixels,
                               QSize twips) override;
    QString DocumentFile() const override { return WordApp ? WordApp->file() : QString(); }
    QString FailureReason() const override { return failure_; }

private:
    // Runs a routine's calls; any failure turns into false, with no message,
    // and its reason is kept for FailureReason().
    template <class Calls> bool guarded(Calls&& calls) noexcept;

    DocumentViewer& viewer_;
    QString failure_;
    std::unique_ptr<RtfWordProcessor> WordApp; // the held word-processor object
};

} // namespace vostrel
