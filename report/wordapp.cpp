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
#include <filesystem>
#include <stdexcept>
#include <system_error>

namespace vostrel {

namespace {

[[noreturn]] void Fail(const QString& phrase) {
    throw std::runtime_error(phrase.toStdString());
}

QString Quoted(const QString& path) {
    return QStringLiteral("«%1»").arg(QDir::toNativeSeparators(path));
}

// Creates `dir` with its parents; throws with the system's reason.
void MakeFolder(const QString& dir) {
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(dir.toStdString()), error);
    if (error)
        Fail(QStringLiteral("не удалось создать папку %1: %2")
                 .arg(Quoted(dir), qt_error_string(error.value())));
}

// Where a report nobody can show is kept for the user to find.
QString DocumentsFileName() {
    QString dir = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (dir.isEmpty())
        dir = QDir::homePath();
    MakeFolder(dir);
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
        Fail(QStringLiteral("не удалось записать файл %1: %2")
                 .arg(Quoted(name), file.errorString()));
}

} // namespace

QString PrivateReportFolder() {
    const QString dir = QStandardPaths::writableLocation(QStandardPaths::CacheLocation) +
                        QStringLiteral("/reports");
    MakeFolder(dir);
    QFile::setPermissions(dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return dir;
}

void PruneReportCopies(const QString& folder, int keep, int maxAgeDays) {
    // Only the copies this program writes: NAME-XXXXXX.rtf, newest first.
    const QFileInfoList copies =
        QDir(folder).entryInfoList({QStringLiteral("*-??????.rtf")}, QDir::Files, QDir::Time);
    const QDateTime oldest = QDateTime::currentDateTime().addDays(-maxAgeDays);
    for (qsizetype i = 0; i < copies.size(); ++i)
        if (i >= keep || copies[i].lastModified() < oldest)
            QFile::remove(copies[i].absoluteFilePath());
}

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
    file_.clear();
    QFile file(path);
    if (!file.exists())
        Fail(QStringLiteral("не найден шаблон %1").arg(Quoted(path)));
    if (!file.open(QIODevice::ReadOnly))
        Fail(QStringLiteral("не удалось прочитать шаблон %1: %2")
                 .arg(Quoted(path), file.errorString()));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        Fail(QStringLiteral("не удалось прочитать шаблон %1: %2")
                 .arg(Quoted(path), file.errorString()));
    try {
        document_.emplace(std::string(bytes.constData(), static_cast<size_t>(bytes.size())));
    } catch (const rtf::RtfError&) {
        Fail(QStringLiteral("шаблон %1 не является правильным документом RTF").arg(Quoted(path)));
    }
    name_ = QFileInfo(path).completeBaseName();
    selectionStart_ = selectionEnd_ = 0;
}

bool RtfWordProcessor::setVisible(bool visible) {
    if (!visible)
        return true; // nothing is shown until the document is complete
    const std::string& source = document().source();
    if (!viewer_.canShow()) {
        const QString name = DocumentsFileName();
        WriteFile(name, source);
        file_ = name;
        return false;
    }
    const QString folder = PrivateReportFolder();
    PruneReportCopies(folder);
    QTemporaryFile file(QDir(folder).filePath(name_ + QStringLiteral("-XXXXXX.rtf")));
    file.setAutoRemove(false);
    if (!file.open())
        Fail(QStringLiteral("не удалось записать отчёт в папку %1: %2")
                 .arg(Quoted(folder), file.errorString()));
    if (file.write(source.data(), static_cast<qint64>(source.size())) !=
            static_cast<qint64>(source.size()) ||
        !file.flush()) {
        const QString reason = file.errorString();
        file.remove(); // nothing half-written is shown
        Fail(QStringLiteral("не удалось записать отчёт в файл %1: %2")
                 .arg(Quoted(file.fileName()), reason));
    }
    file_ = file.fileName();
    file.close();
    if (!viewer_.show(file_))
        Fail(QStringLiteral("не удалось запустить текстовый процессор"));
    return true;
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

void RtfWordProcessor::replaceSelection(const rtf::Picture& picture) {
    selectionStart_ = selectionEnd_ =
        document().replaceWithPicture(selectionStart_, selectionEnd_ - selectionStart_, picture);
}

void RtfWordProcessor::replaceSelection(const QString& value) {
    selectionEnd_ = document().replace(selectionStart_, selectionEnd_ - selectionStart_,
                                       value.toStdU32String());
}

template <class Calls> bool RtfAutomation::guarded(Calls&& calls) noexcept {
    try {
        if (calls())
            return true;
    } catch (const std::exception& e) {
        failure_ = QString::fromUtf8(e.what());
        return false;
    } catch (...) {
    }
    failure_.clear();
    return false;
}

bool RtfAutomation::ReplaceTagWithPicture(const QString& tag, const QByteArray& png, QSize pixels,
                                          QSize twips) {
    return guarded([&] {
        if (!WordApp || pixels.isEmpty() || twips.isEmpty() || !WordApp->find(tag))
            return false;
        const auto size = [](int n) { return static_cast<std::uint32_t>(n); };
        WordApp->replaceSelection(rtf::Picture{std::string(png.constData(), size_t(png.size())),
                                               size(pixels.width()), size(pixels.height()),
                                               size(twips.width()), size(twips.height())});
        return true;
    });
}

bool RtfAutomation::StartWord() {
    return guarded([this] {
        WordApp = std::make_unique<RtfWordProcessor>(viewer_);
        return WordApp->canShow();
    });
}

bool RtfAutomation::SetWordVisible(bool visible) {
    return guarded([&] { return WordApp && WordApp->setVisible(visible); });
}

bool RtfAutomation::OpenDocument(const QString& path) {
    return guarded([&] {
        if (!WordApp)
            return false;
        WordApp->open(path);
        return true;
    });
}

bool RtfAutomation::ResetSelection() {
    return guarded([this] {
        if (!WordApp)
            return false;
        WordApp->resetSelection();
        return true;
    });
}

bool RtfAutomation::ReplaceTag(const QString& tag, const QString& value) {
    return guarded([&] {
        if (!WordApp || !WordApp->find(tag))
            return false;
        WordApp->replaceSelection(value);
        return true;
    });
}

} // namespace vostrel
