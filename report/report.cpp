// "Отчёт": fills the report template with the design through the word
// processor while the progress window runs.
#include "report/report.h"

#include "app/unit3.h"
#include "report/automation.h"
#include "report/unit7.h"

#include "app/files.h"

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QProgressBar>

namespace vostrel {

QStringList ReportTemplate::searchPaths(const QString& applicationDir) {
    return {
        QDir(applicationDir).filePath(relativePath()),
        QDir(applicationDir).filePath(QStringLiteral("../share/vostrel/") + relativePath()),
        QDir(QStringLiteral(VOSTREL_DATADIR)).filePath(relativePath()),
    };
}

QString ReportTemplate::locate(const QString& applicationDir) {
    return FirstExistingFile(searchPaths(applicationDir));
}

QString TForm1::reportValue(ReportSource source) const {
    switch (source) {
    case ReportSource::Edit1:
        return Edit1->text();
    case ReportSource::Edit2:
        return Edit2->text();
    case ReportSource::Edit3:
        return Edit3->text();
    case ReportSource::Edit4:
        return Edit4->text();
    case ReportSource::Edit7:
        return Edit7->text();
    case ReportSource::Edit5:
        return Edit5->text();
    case ReportSource::Edit8:
        return Edit8->text();
    case ReportSource::Edit9:
        return Edit9->text();
    case ReportSource::Edit10:
        return Edit10->text();
    case ReportSource::Edit13:
        return Edit13->text();
    case ReportSource::Edit14:
        return Edit14->text();
    case ReportSource::Edit15:
        return Edit15->text();
    case ReportSource::DoubledRx:
        return numbers().fixed(rx2_, 1);
    case ReportSource::DoubledR0:
        return numbers().fixed(r02_, 1);
    }
    return {};
}

void TForm1::Button2Click() {
    WordAutomation& word = services_.word;
    // 1. Without a word processor that can show it, the report is still
    //    filled and saved, and the user is told where.
    const bool canShow = word.StartWord();
    // 2. The word processor works hidden.
    word.SetWordVisible(false);
    // 3. The report is given for the single catenary.
    if (rodTypeCode_ != kSingleCatenary) {
        message(QStringLiteral("Отчёт составляется для одиночного тросового молниеотвода."));
        return;
    }
    // 4. Progress from 0.
    Form7->showOver(this);
    Form7->ProgressBar1->setValue(0);
    // 5. The template, opened read-only.
    const QString path = services_.reportTemplate;
    word.OpenDocument(path);
    // 6. Each replacement searches from the start of the document.
    for (const Replacement& row : kReplacements) {
        const QString tag = QString::fromLatin1(row.tag);
        word.ResetSelection();
        int attempts = 0;
        while (!word.ReplaceTag(tag, reportValue(row.source))) {
            if (++attempts == kReplaceAttempts) {
                Form7->hide();
                message(QFileInfo(path).isFile()
                            ? QStringLiteral("Отчёт не составлен: в шаблоне «%1» нет метки «%2».")
                                  .arg(QDir::toNativeSeparators(path), tag)
                            : QStringLiteral("Отчёт не составлен: не найден шаблон «%1».")
                                  .arg(QDir::toNativeSeparators(path)));
                return;
            }
        }
        Form7->ProgressBar1->setValue(Form7->ProgressBar1->value() + 4);
        Form7->ProgressBar1->repaint();
    }
    // 7. The filled document, shown to the user.
    word.SetWordVisible(true);
    // 8. Done.
    Form7->hide();
    if (!canShow) {
        const QString file = word.DocumentFile();
        message(file.isEmpty()
                    ? QStringLiteral("Не найден текстовый процессор, чтобы показать отчёт, "
                                     "и отчёт не удалось сохранить.")
                    : QStringLiteral("Не найден текстовый процессор, чтобы показать отчёт. "
                                     "Отчёт сохранён в файле «%1».")
                          .arg(QDir::toNativeSeparators(file)));
    }
}

} // namespace vostrel
