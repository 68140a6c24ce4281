// Renders the report progress window half way, for the screenshots in docs/:
// the real window shows only for the moment a report takes.
//   grab_progress OUTPUT.png
#include "app/services.h"
#include "report/unit7.h"

#include <QApplication>
#include <QProgressBar>

namespace {
class NoDialogs final : public vostrel::Dialogs {
    void message(QWidget*, const QString&) override {}
    void error(QWidget*, const QString&) override {}
    void applicationError(const QString&) override {}
};
class NoWord final : public vostrel::WordAutomation {
    bool StartWord() override { return false; }
    bool SetWordVisible(bool) override { return false; }
    bool OpenDocument(const QString&) override { return false; }
    bool ResetSelection() override { return false; }
    bool ReplaceTag(const QString&, const QString&) override { return false; }
    QString DocumentFile() const override { return {}; }
};
} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (argc < 2)
        return 2;
    NoDialogs dialogs;
    NoWord word;
    vostrel::Services services{dialogs, word, vostrel::NumberText(), QString(), QString()};
    vostrel::TForm7 progress(services);
    progress.ProgressBar1->setValue(48);
    return progress.grab().save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
