#include "mainmenu.h"

#include "app/unit3.h"
#include "calc/numtext.h"
#include "ui/errorhandler.h"
#include "version.h"

#include <QDir>
#include <QFileInfo>
#include <QMenuBar>
#include <QSaveFile>
#include <QStandardPaths>

namespace vostrel {

namespace {
const QString kExtension = QStringLiteral(".vostrel");
const QString kFilter = QStringLiteral("Проекты Vostrel (*.vostrel)");

QString Native(const QString& path) {
    return QDir::toNativeSeparators(path);
}
} // namespace

DesignDocument::DesignDocument(TForm1& window, Services& services)
    : QObject(&window), window_(window), services_(services) {}

template <class F> void DesignDocument::run(F&& command) {
    RunHandler(services_.dialogs, &window_, std::forward<F>(command));
}

QMenuBar* DesignDocument::createMenuBar() {
    auto* bar = new QMenuBar(&window_);
    bar->setObjectName(QStringLiteral("MainMenu1"));
    QMenu* file = bar->addMenu(QStringLiteral("Файл"));
    file->setObjectName(QStringLiteral("MenuFile"));
    const auto add = [&](const char* name, const QString& text, const QKeySequence& keys,
                         auto command) {
        QAction* action = file->addAction(text);
        action->setObjectName(QLatin1String(name));
        action->setShortcut(keys);
        window_.addAction(action); // the keys work wherever the focus is in the window
        connect(action, &QAction::triggered, this, [this, command] { run(command); });
    };
    add("FileNew", QStringLiteral("Новый"), QKeySequence(QStringLiteral("Ctrl+N")),
        [this] { newDesign(); });
    add("FileOpen", QStringLiteral("Открыть…"), QKeySequence(QStringLiteral("Ctrl+O")),
        [this] { open(); });
    add("FileSave", QStringLiteral("Сохранить"), QKeySequence(QStringLiteral("Ctrl+S")),
        [this] { save(); });
    add("FileSaveAs", QStringLiteral("Сохранить как…"),
        QKeySequence(QStringLiteral("Ctrl+Shift+S")), [this] { saveAs(); });
    file->addSeparator();
    add("FileExit", QStringLiteral("Выход"), QKeySequence(QStringLiteral("Ctrl+Q")),
        [this] { window_.close(); });
    return bar;
}

void DesignDocument::refresh() {
    if (path_.isEmpty()) {
        window_.setWindowModified(false);
        window_.setWindowTitle(QString::fromUtf8(kTitle));
        return;
    }
    window_.setWindowTitle(
        QStringLiteral("%1[*] — %2")
            .arg(QFileInfo(path_).completeBaseName(), QString::fromUtf8(kTitle)));
    window_.setWindowModified(FileContentOf(window_.design()) != saved_);
}

bool DesignDocument::maybeSave() {
    refresh();
    if (path_.isEmpty() || !window_.isWindowModified())
        return true;
    switch (services_.dialogs.question(
        &window_,
        QStringLiteral("Сохранить изменения в «%1»?").arg(QFileInfo(path_).completeBaseName()))) {
    case Dialogs::Answer::Yes:
        return save();
    case Dialogs::Answer::No:
        return true;
    case Dialogs::Answer::Cancel:
        break;
    }
    return false;
}

void DesignDocument::newDesign() {
    if (!maybeSave())
        return;
    window_.clearDesign();
    path_.clear();
    saved_ = {};
    refresh();
}

QString DesignDocument::folder() const {
    return lastFolder_.isEmpty()
               ? QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)
               : lastFolder_;
}

void DesignDocument::open() {
    if (!maybeSave())
        return;
    const QString path = services_.dialogs.openFileName(&window_, QStringLiteral("Открыть проект"),
                                                        folder(), kFilter);
    if (!path.isEmpty())
        openPath(path);
}

void DesignDocument::openDropped(const QString& path) {
    run([&] {
        if (maybeSave())
            openPath(path);
    });
}

void DesignDocument::openPath(const QString& path) {
    const QFileInfo info(path);
    lastFolder_ = info.absolutePath();
    const DesignReading reading =
        ReadDesignPath(QFile::encodeName(info.absoluteFilePath()).toStdString(),
                       services_.numbers.decimalSeparatorUtf8());
    if (!reading.file) {
        services_.dialogs.error(&window_,
                                QStringLiteral("Файл «%1» не открыт: %2.")
                                    .arg(Native(path), QString::fromStdString(reading.error)));
        return;
    }
    window_.clearDesign();
    path_ = info.absoluteFilePath();
    saved_ = *reading.file;
    window_.showDesign(*reading.file);
    refresh();
}

// "Сохранить" asks for a name only while the design has no file.
bool DesignDocument::save() {
    return path_.isEmpty() ? saveAs() : writeTo(path_);
}

bool DesignDocument::saveAs() {
    QString path = services_.dialogs.saveFileName(&window_, QStringLiteral("Сохранить проект"),
                                                  suggestedPath(), kFilter, nullptr);
    if (path.isEmpty())
        return false;
    if (!path.endsWith(kExtension, Qt::CaseInsensitive))
        path += kExtension;
    return writeTo(path);
}

// "Здание 24×60×9.vostrel" from the building's dimensions as typed.
QString DesignDocument::suggestedPath() const {
    if (!path_.isEmpty())
        return path_;
    const Design design = window_.design();
    QStringList sizes;
    for (const std::string& text : design.building)
        sizes << QString::fromStdString(text).trimmed().replace(QLatin1Char('/'), QLatin1Char('_'));
    const QString name = sizes.contains(QString())
                             ? QStringLiteral("Здание")
                             : QStringLiteral("Здание ") + sizes.join(QChar(0x00D7));
    return QDir(folder()).filePath(name + kExtension);
}

// The texts must read back as numbers; QSaveFile replaces the old file only
// once the new one is written whole.
bool DesignDocument::writeTo(const QString& path) {
    const Design design = window_.design();
    const auto check = [this](const auto& texts) {
        for (const std::string& text : texts)
            if (!text.empty())
                services_.numbers.toFloat(QString::fromStdString(text));
    };
    try {
        check(design.building);
        check(design.rodInputs);
        // A rod's place is a number in the file: it must be typed.
        for (const RodText& rod : design.rods) {
            services_.numbers.toFloat(QString::fromStdString(rod.x));
            services_.numbers.toFloat(QString::fromStdString(rod.y));
            check(std::array{rod.h});
        }
    } catch (const ConversionError& e) {
        services_.dialogs.error(&window_, QStringLiteral("Файл «%1» не сохранён: %2")
                                              .arg(Native(path), QString::fromUtf8(e.what())));
        return false;
    }
    const DesignFile content = FileContentOf(design);
    const std::string bytes = WriteDesignFile(content, services_.numbers.decimalSeparatorUtf8());
    lastFolder_ = QFileInfo(path).absolutePath();
    QSaveFile file(path);
    const bool written = file.open(QIODevice::WriteOnly) &&
                         file.write(bytes.data(), static_cast<qint64>(bytes.size())) ==
                             static_cast<qint64>(bytes.size()) &&
                         file.commit();
    if (!written) {
        const QString reason =
            file.errorString().isEmpty() ? QStringLiteral("ошибка записи") : file.errorString();
        services_.dialogs.error(
            &window_, QStringLiteral("Файл «%1» не сохранён: %2.").arg(Native(path), reason));
        refresh();
        return false;
    }
    path_ = QFileInfo(path).absoluteFilePath();
    saved_ = content;
    refresh();
    return true;
}

} // namespace vostrel
