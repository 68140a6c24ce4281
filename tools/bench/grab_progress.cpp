// Renders the report progress window half way, for the screenshots in docs/:
// the real window shows only for the moment a report takes.
//   grab_progress OUTPUT.png
#include "report/unit7.h"
#include "ui/services.h"

#include <QApplication>
#include <QProgressBar>

namespace {
class NoDialogs final : public vostrel::Dialogs {
    void message(QWidget*, const QString&) override {}
    void error(QWidget*, const QString&) override {}
    void applicationError(const QString&) override {}
    QString saveFileName(QWidget*, const QString&, const QString&, const QString&,
                         QString*) override {
        return {};
    }
    QString openFileName(QWidget*, const QString&, const QString&, const QString&) override {
        return {};
    }
    Answer question(QWidget*, const QString&) override { return Answer::Cancel; }
};
} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (argc < 2)
        return 2;
    NoDialogs dialogs;
    vostrel::Services services{dialogs, vostrel::NumberText(), QString()};
    vostrel::TForm7 progress(services);
    progress.setProgress(48);
    return progress.grab().save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
