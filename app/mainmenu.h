// The main window's "Файл" menu: the design's file, its name in the title,
// the mark of changes not saved and the question before they are lost.
#pragma once

#include "design/designfile.h"
#include "ui/services.h"

#include <QObject>
#include <QString>

class QMenuBar;

namespace vostrel {

class TForm1;

class DesignDocument final : public QObject {
    Q_OBJECT
public:
    DesignDocument(TForm1& window, Services& services);

    // The menu bar with "Файл", a child of the window.
    QMenuBar* createMenuBar();

    // Opens `path` without asking about the design shown (the command line).
    void openPath(const QString& path);
    // Opens `path` after asking about changes not saved (a dropped file).
    void openDropped(const QString& path);
    // Asks whether to save changes not saved of a design that has a file:
    // false when the user cancels or the save fails.
    bool maybeSave();
    // The title and the mark of changes, after any change of the design.
    void refresh();

    // The file of the design, empty while it has none.
    const QString& path() const { return path_; }

private:
    void newDesign();
    void open();
    bool save();
    bool saveAs();
    bool writeTo(const QString& path);
    QString suggestedPath() const;
    QString folder() const;
    // Runs a menu command through the error handler.
    template <class F> void run(F&& command);

    TForm1& window_;
    Services& services_;
    QString path_;
    DesignFile saved_;   // what the file holds
    QString lastFolder_; // of the last file opened or saved in this run
};

} // namespace vostrel
