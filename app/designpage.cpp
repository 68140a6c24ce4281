// The main window's design: read from its fields and copies, cleared for a
// new one, and shown from a file through the handlers a user would run.
#include "app/mainmenu.h"
#include "app/unit3.h"
#include "ui/controls.h"
#include "windows/unit4.h"
#include "windows/unit5.h"
#include "windows/unit6.h"
#include "windows/unit8.h"

#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>

namespace vostrel {

namespace {
std::string Text(const QString& text) {
    return text.toStdString();
}
} // namespace

Design TForm1::design() const {
    Design d = design_;
    d.building = {Text(Edit1->text()), Text(Edit2->text()), Text(Edit3->text())};
    d.strikes = Text(Edit4->text());
    if (Form2 && Form2->ThunderstormHours() != 0 && !d.strikes.empty())
        d.thunderstormHours = Form2->ThunderstormHours();
    if (Form2 && Form2->ThunderstormHours() != 0) {
        const TForm2::StrikeInputs in = Form2->StrikeInputsOfN();
        d.strikeBasis = StrikeBasis{in.S, in.L, in.h, in.n};
    }
    BuildingType type{Form5 ? Form5->ConfirmedCode() : 0, Text(Memo1->toPlainText()),
                      Text(Edit6->text()), Text(Edit7->text()), Text(Edit5->text())};
    if (type.code != 0 || !type.building.empty() || !type.zone.empty())
        d.buildingType = std::move(type);
    const int index = rodTypeIndex();
    d.listRodType = index >= 0 ? index + 1 : 0;
    if (const RodTypeInfo* rod = FindRodType(d.rodType)) {
        const auto fields = rodInputs();
        for (int i = 0; i < rod->inputCount(); ++i)
            d.rodInputs.push_back(Text(fields[static_cast<size_t>(i)]->text()));
    }
    if (d.rodType == kRodSystem || d.listRodType == kRodSystem)
        d.rods = systemRods();
    const QLineEdit* const results[] = {Edit13, Edit14, Edit15, Edit16, Edit17, Edit18};
    for (size_t i = 0; i < d.results.size(); ++i)
        d.results[i] = Text(results[i]->text());
    return d;
}

void TForm1::clearDesign() {
    for (QLineEdit* field : {Edit1, Edit2, Edit3, Edit4, Edit5, Edit6, Edit7, Edit8, Edit9, Edit10,
                             Edit11, Edit13, Edit14, Edit15, Edit16, Edit17, Edit18})
        field->clear();
    Memo1->clear();
    ComboBox1->setCurrentIndex(-1);
    ComboBox1->setEditText(QString());
    rodTypeTyped_ = false;
    Label14->clear();
    design_ = Design{};
    for (QPushButton* button : {Button1, Button5, Button3, Button2, Button6})
        button->setEnabled(false);
    PageControl1->setActivePage(TabSheet1);
    Form2->reset();
    Form5->reset();
    Form6->hide();
    Form8->hide();
    setSystemRods({});
    Form8->showRodTable(false);
}

void TForm1::showDesign(const DesignFile& file) {
    design_.placement = file.placement; // the drawing of the calculation below shows it
    Edit1->setText(QString::fromStdString(file.building[0]));
    Edit2->setText(QString::fromStdString(file.building[1]));
    Edit3->setText(QString::fromStdString(file.building[2]));
    const bool dimensions =
        !Edit1->text().isEmpty() && !Edit2->text().isEmpty() && !Edit3->text().isEmpty();
    if (file.thunderstormHours && dimensions)
        Form2->pickClass(*file.thunderstormHours);
    if (file.buildingType) {
        if (Edit4->text().isEmpty())
            message(QStringLiteral("Тип здания с кодом %1 не восстановлен: нет числа ударов "
                                   "молнии N")
                        .arg(*file.buildingType));
        else if (!Form5->confirmCode(*file.buildingType))
            message(QStringLiteral("Типа здания с кодом %1 нет в каталоге: местоположение, "
                                   "категория молниезащиты и тип зоны защиты не заполнены")
                        .arg(*file.buildingType));
    }
    if (file.rodType) {
        ComboBox1->setCurrentIndex(*file.rodType - 1);
        rodTypeTyped_ = false;
    }
    TabSheet1MouseMove(); // the pointer crosses the page on its way to "Далее>>"
    if (!file.rodType || Edit5->text().isEmpty())
        return;
    if (*file.rodType == kRodSystem)
        setSystemRods(file.rods); // before "Далее>>", which fills only an empty table
    handle(&TForm1::Button1Click);
    const auto fields = rodInputs();
    for (size_t i = 0; i < file.rodInputs.size() && i < fields.size(); ++i)
        fields[i]->setText(QString::fromStdString(file.rodInputs[i]));
    GroupBox3MouseMove();
    if (file.calculated && Button3->isEnabled())
        handle(&TForm1::Button3Click);
}

void TForm1::openFile(const QString& path) {
    document_->openPath(path);
}

void TForm1::dragEnterEvent(QDragEnterEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.size() == 1 && urls.front().isLocalFile())
        event->acceptProposedAction();
}

void TForm1::dropEvent(QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.size() != 1 || !urls.front().isLocalFile())
        return;
    event->acceptProposedAction();
    // Opened once the drop has finished: the question and messages are modal.
    const QString path = urls.front().toLocalFile();
    QMetaObject::invokeMethod(
        this, [this, path] { document_->openDropped(path); }, Qt::QueuedConnection);
}

} // namespace vostrel
