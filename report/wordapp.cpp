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
#include <system_error>

namespace vostrel {

namespace {

QString Quoted(const QString& path) {
    return QStringLiteral("«%1»").arg(QDir::toNativeSeparators(path));
}

// Creates `dir` with its parents.
WordOutcome MakeFolder(const QString& dir) {
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(dir.toStdString()), error);
    if (error)
        return Failure(QStringLiteral("не удалось создать папку %1: %2")
                           .arg(Quoted(dir), qt_error_string(error.value())));
    return {};
}

// Where a report nobody can show is kept for the user to find.
Outcome<QString, QString> DocumentsFileName() {
    QString dir = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (dir.isEmpty())
        dir = QDir::homePath();
    if (WordOutcome made = MakeFolder(dir); !made)
        return Failure(made.reason());
    const QString stem =
        QStringLiteral("Отчёт Vostrel ") +
        QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh-mm-ss"));
    QString name = QDir(dir).filePath(stem + QStringLiteral(".rtf"));
    for (int n = 2; QFile::exists(name); ++n)
        name = QDir(dir).filePath(stem + QStringLiteral(" (%1).rtf").arg(n));
    return name;
}

WordOutcome WriteFile(const QString& name, const std::string& bytes) {
    QSaveFile file(name);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(bytes.data(), static_cast<qint64>(bytes.size())) !=
            static_cast<qint64>(bytes.size()) ||
        !file.commit())
        return Failure(QStringLiteral("не удалось записать файл %1: %2")
                           .arg(Quoted(name), file.errorString()));
    return {};
}

} // namespace

Outcome<QString, QString> PrivateReportFolder() {
    const QString dir = QStandardPaths::writableLocation(QStandardPaths::CacheLocation) +
                        QStringLiteral("/reports");
    if (WordOutcome made = MakeFolder(dir); !made)
        return Failure(made.reason());
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

WordOutcome RtfWordProcessor::open(const QString& path) {
    document_.reset();
    file_.clear();
    QFile file(path);
    if (!file.exists())
        return Failure(QStringLiteral("не найден шаблон %1").arg(Quoted(path)));
    const auto unreadable = [&] {
        return Failure(QStringLiteral("не удалось прочитать шаблон %1: %2")
                           .arg(Quoted(path), file.errorString()));
    };
    if (!file.open(QIODevice::ReadOnly))
        return unreadable();
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return unreadable();
    try {
        document_.emplace(std::string(bytes.constData(), static_cast<size_t>(bytes.size())));
    } catch (const rtf::RtfError&) {
        return Failure(
            QStringLiteral("шаблон %1 не является правильным документом RTF").arg(Quoted(path)));
    }
    path_ = path;
    name_ = QFileInfo(path).completeBaseName();
    selectionStart_ = selectionEnd_ = 0;
    return {};
}

WordOutcome RtfWordProcessor::setVisible(bool visible) {
    if (!visible)
        return {}; // nothing is shown until the document is complete
    if (!document_)
        return Failure(QStringLiteral("документ не открыт"));
    if (viewer_.canShow())
        return show();
    const Outcome<QString, QString> name = DocumentsFileName();
    if (!name)
        return Failure(name.reason());
    if (WordOutcome written = WriteFile(*name, document_->source()); !written)
        return written;
    file_ = *name;
    return Failure(QStringLiteral("не найден текстовый процессор, чтобы показать отчёт"));
}

// Writes the document to a new private file and hands it to the viewer.
WordOutcome RtfWordProcessor::show() {
    const Outcome<QString, QString> folder = PrivateReportFolder();
    if (!folder)
        return Failure(folder.reason());
    PruneReportCopies(*folder);
    const std::string& source = document_->source();
    QTemporaryFile file(QDir(*folder).filePath(name_ + QStringLiteral("-XXXXXX.rtf")));
    file.setAutoRemove(false);
    if (!file.open())
        return Failure(QStringLiteral("не удалось записать отчёт в папку %1: %2")
                           .arg(Quoted(*folder), file.errorString()));
    if (file.write(source.data(), static_cast<qint64>(source.size())) !=
            static_cast<qint64>(source.size()) ||
        !file.flush()) {
        const QString reason = file.errorString();
        file.remove(); // nothing half-written is shown
        return Failure(QStringLiteral("не удалось записать отчёт в файл %1: %2")
                           .arg(Quoted(file.fileName()), reason));
    }
    file_ = file.fileName();
    file.close();
    if (!viewer_.show(file_))
        return Failure(QStringLiteral("не удалось запустить текстовый процессор"));
    return {};
}

WordOutcome RtfWordProcessor::resetSelection() {
    if (!document_)
        return Failure(QStringLiteral("документ не открыт"));
    selectionStart_ = selectionEnd_ = 0;
    return {};
}

WordOutcome RtfWordProcessor::find(const QString& text) {
    if (!document_)
        return Failure(QStringLiteral("документ не открыт"));
    const std::u32string needle = text.toStdU32String();
    const size_t at = document_->find(needle, selectionEnd_);
    if (at == rtf::Document::npos)
        return Failure(QStringLiteral("в шаблоне %1 нет метки «%2»").arg(Quoted(path_), text));
    selectionStart_ = at;
    selectionEnd_ = at + needle.size();
    return {};
}

void RtfWordProcessor::replaceSelection(const rtf::Picture& picture) {
    selectionStart_ = selectionEnd_ =
        document_->replaceWithPicture(selectionStart_, selectionEnd_ - selectionStart_, picture);
}

void RtfWordProcessor::replaceSelection(const QString& value) {
    selectionEnd_ = document_->replace(selectionStart_, selectionEnd_ - selectionStart_,
                                       value.toStdU32String());
}

template <class Calls> WordOutcome RtfAutomation::guarded(Calls&& calls) noexcept {
    if (!WordApp)
        return Failure(QStringLiteral("текстовый процессор не запущен"));
    try {
        return calls(*WordApp);
    } catch (const std::exception& e) {
        return Failure(QString::fromUtf8(e.what()));
    } catch (...) {
        return Failure(QStringLiteral("неизвестная ошибка"));
    }
}

WordOutcome RtfAutomation::StartWord() {
    try {
        WordApp = std::make_unique<RtfWordProcessor>(viewer_);
    } catch (const std::exception& e) {
        return Failure(QString::fromUtf8(e.what()));
    }
    return {};
}

WordOutcome RtfAutomation::SetWordVisible(bool visible) {
    return guarded([&](RtfWordProcessor& word) { return word.setVisible(visible); });
}

WordOutcome RtfAutomation::OpenDocument(const QString& path) {
    return guarded([&](RtfWordProcessor& word) { return word.open(path); });
}

WordOutcome RtfAutomation::ResetSelection() {
    return guarded([](RtfWordProcessor& word) { return word.resetSelection(); });
}

WordOutcome RtfAutomation::ReplaceTag(const QString& tag, const QString& value) {
    return guarded([&](RtfWordProcessor& word) {
        WordOutcome found = word.find(tag);
        if (found)
            word.replaceSelection(value);
        return found;
    });
}

WordOutcome RtfAutomation::ReplaceTagWithPicture(const QString& tag, const QByteArray& png,
                                                 QSize pixels, QSize twips) {
    return guarded([&](RtfWordProcessor& word) {
        if (pixels.isEmpty() || twips.isEmpty())
            return WordOutcome(Failure(QStringLiteral("у чертежа нет размера")));
        WordOutcome found = word.find(tag);
        if (!found)
            return found;
        const auto size = [](int n) { return static_cast<std::uint32_t>(n); };
        word.replaceSelection(rtf::Picture{std::string(png.constData(), size_t(png.size())),
                                           size(pixels.width()), size(pixels.height()),
                                           size(twips.width()), size(twips.height())});
        return found;
    });
}

} // namespace vostrel
