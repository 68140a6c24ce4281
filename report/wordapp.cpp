#include "wordapp.h"

#include <QDateTime>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QUrl>
#include <stdexcept>

namespace vostrel {

namespace {

// Runs a routine's calls; any failure turns into false, with no message.
template <class Calls> bool Guarded(Calls&& calls) noexcept {
    try {
        return calls();
    } catch (...) {
        return false;
    }
}

// A directory only this user may read, for documents handed to the viewer.
QString PrivateDirectory() {
    const QString dir = QStandardPaths::writableLocation(QStandardPaths::CacheLocation) +
                        QStringLiteral("/reports");
    if (!QDir().mkpath(dir))
        throw std::runtime_error("cannot create " + dir.toStdString());
    QFile::setPermissions(dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return dir;
}

// Where a report nobody can show is kept for the user to find.
QString DocumentsFileName() {
    QString dir = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (dir.isEmpty() || !QDir().mkpath(dir))
        dir = QDir::homePath();
    const QString stem =
        QStringLiteral("Отчёт Vostrel ") +
        QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh-mm-ss"));
    QString name = QDir(dir).filePath(stem + QStringLiteral(".rtf"));
    for (int n = 2; QFile::exists(name); ++n)
        name = QDir(dir).filePath(stem + QStringLiteral(" (%1).rtf").arg(n));
    return name;
}

void WriteFile(const QString& name, const std::string& bytes) {
    QSaveFile file(name);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(bytes.data(), static_cast<qint64>(bytes.size())) !=
            static_cast<qint64>(bytes.size()) ||
        !file.commit())
        throw std::runtime_error("cannot write " + name.toStdString());
}

} // namespace

QString DesktopViewer::office() {
    for (const char* name : {"soffice", "libreoffice"}) {
        const QString path = QStandardPaths::findExecutable(QLatin1String(name));
        if (!path.isEmpty())
            return path;
    }
    return {};
}

bool DesktopViewer::desktopHandlesRtf() {
    if (QStandardPaths::findExecutable(QStringLiteral("xdg-mime")).isEmpty())
        return false;
    for (const char* type : {"application/rtf", "text/rtf"}) {
        QProcess query;
        query.start(QStringLiteral("xdg-mime"),
                    {QStringLiteral("query"), QStringLiteral("default"), QLatin1String(type)});
        if (query.waitForFinished(3000) && query.exitCode() == 0 &&
            !query.readAllStandardOutput().trimmed().isEmpty())
            return true;
    }
    return false;
}

bool DesktopViewer::canShow() const {
    return !office().isEmpty() || desktopHandlesRtf();
}

bool DesktopViewer::show(const QString& file) {
    // -n opens the file as a new, untitled document: saving asks for a name
    // and cannot overwrite anything by accident.
    const QString soffice = office();
    if (!soffice.isEmpty() && QProcess::startDetached(soffice, {QStringLiteral("-n"), file}))
        return true;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(file));
}

rtf::Document& RtfWordProcessor::document() {
    if (!document_)
        throw std::logic_error("no document is open");
    return *document_;
}

void RtfWordProcessor::open(const QString& path) {
    document_.reset();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error(file.errorString().toStdString());
    const QByteArray bytes = file.readAll();
    document_.emplace(std::string(bytes.constData(), static_cast<size_t>(bytes.size())));
    selectionStart_ = selectionEnd_ = 0;
}

bool RtfWordProcessor::setVisible(bool visible) {
    if (!visible)
        return true; // nothing is shown until the document is complete
    const std::string& source = document().source();
    if (viewer_.canShow()) {
        QTemporaryFile file(PrivateDirectory() + QStringLiteral("/otchet4-XXXXXX.rtf"));
        file.setAutoRemove(false);
        if (!file.open() ||
            file.write(source.data(), static_cast<qint64>(source.size())) !=
                static_cast<qint64>(source.size()) ||
            !file.flush())
            throw std::runtime_error("cannot write the report");
        file_ = file.fileName();
        file.close();
        return viewer_.show(file_);
    }
    file_ = DocumentsFileName();
    WriteFile(file_, source);
    return false;
}

void RtfWordProcessor::resetSelection() {
    document();
    selectionStart_ = selectionEnd_ = 0;
}

bool RtfWordProcessor::find(const QString& text) {
    const size_t at = document().find(text.toStdU32String(), selectionEnd_);
    if (at == rtf::Document::npos)
        return false;
    selectionStart_ = at;
    selectionEnd_ = at + static_cast<size_t>(text.toStdU32String().size());
    return true;
}

void RtfWordProcessor::replaceSelection(const QString& value) {
    selectionEnd_ = document().replace(selectionStart_, selectionEnd_ - selectionStart_,
                                       value.toStdU32String());
}

bool RtfAutomation::StartWord() {
    return Guarded([this] {
        WordApp = std::make_unique<RtfWordProcessor>(viewer_);
        return WordApp->canShow();
    });
}

bool RtfAutomation::SetWordVisible(bool visible) {
    return Guarded([&] { return WordApp && WordApp->setVisible(visible); });
}

bool RtfAutomation::OpenDocument(const QString& path) {
    return Guarded([&] {
        if (!WordApp)
            return false;
        WordApp->open(path);
        return true;
    });
}

bool RtfAutomation::ResetSelection() {
    return Guarded([this] {
        if (!WordApp)
            return false;
        WordApp->resetSelection();
        return true;
    });
}

bool RtfAutomation::ReplaceTag(const QString& tag, const QString& value) {
    return Guarded([&] {
        if (!WordApp || !WordApp->find(tag))
            return false;
        WordApp->replaceSelection(value);
        return true;
    });
}

} // namespace vostrel
