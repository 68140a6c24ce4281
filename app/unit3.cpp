#include "unit3.h"

#include "app/mainmenu.h"
#include "app/rodlayouts.h"
#include "report/unit7.h"
#include "ui/controls.h"
#include "windows/rodtable.h"
#include "windows/unit4.h"
#include "windows/unit5.h"
#include "windows/unit6.h"
#include "windows/unit8.h"

#include <QAbstractItemView>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <algorithm>

namespace vostrel {

namespace {
const QString kEnterAll = QStringLiteral("Введите все значения");

// Enter or Space on a field that opens a window opens it as a click does.
bool IsOpeningKey(const QKeyEvent& event) {
    const int key = event.key();
    return (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) &&
           (event.modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

// Row captions may take the room up to the fields at x = 272.
QLabel* RowCaption(QWidget* parent, const char* name, QRect geometry, const QString& text) {
    return MakeLabel(parent, name, geometry, text, 10, 268 - geometry.left());
}
} // namespace

TForm1::TForm1(Services& services, ReportSetup& report)
    : Form(services, QString::fromUtf8(kTitle), QSize(783, 335)), reportSetup_(report) {
    setObjectName(QStringLiteral("Form1"));
    setAttribute(Qt::WA_QuitOnClose, true);
    PageControl1 = new PageControl(this, QRect(0, 0, 783, 335));
    TabSheet1 = PageControl1->addPage(QStringLiteral("TabSheet1"));
    TabSheet2 = PageControl1->addPage(QStringLiteral("TabSheet2"));
    createBuildingPage();
    createRodPage();
    setTabOrder();
    createMenu();
    PageControl1->setActivePage(TabSheet1);
    fields_ = {Edit1, Edit2, Edit3, Edit4, Memo1, Edit6, Edit7, Edit5, Label14};
    FormCreate();
}

TForm1::~TForm1() = default;

void TForm1::createBuildingPage() {
    TabSheet1->setMouseTracking(true);
    TabSheet1->installEventFilter(this);
    GroupBox1 = MakeFrame(TabSheet1, "GroupBox1", {0, 0, 775, 273});
    GroupBox1->installEventFilter(this);
    createBuildingFields();

    for (QLineEdit* field : {Edit1, Edit2, Edit3})
        field->installEventFilter(this);
    Edit4->setCursor(Qt::PointingHandCursor);
    Edit4->installEventFilter(this);
    Memo1->viewport()->setCursor(Qt::PointingHandCursor);
    Memo1->viewport()->installEventFilter(this);
    Memo1->installEventFilter(this); // its keys

    // A typed text is not a pick: the rod type code then stays as it was.
    connect(ComboBox1->lineEdit(), &QLineEdit::textEdited, this, [this] { rodTypeTyped_ = true; });
    connect(ComboBox1, &QComboBox::activated, this, [this] { rodTypeTyped_ = false; });

    Label14 = new QLabel(TabSheet1);
    Label14->setObjectName(QStringLiteral("Label14"));
    Label14->move(120, 288);
    Label14->hide();
    Button1 = MakeButton(TabSheet1, "Button1", {632, 280, 105, 25}, QStringLiteral("Далее>>"), 10,
                         QColor(Qt::blue));
    Button5 = MakeButton(TabSheet1, "Button5", {32, 280, 169, 25},
                         QStringLiteral("Высота молниеотвода"), 10, QColor(0, 128, 128));
    Button1->setEnabled(false);
    Button5->setEnabled(false);
    onClick(Button1, &TForm1::Button1Click);
    onClick(Button5, &TForm1::Button5Click);
}

// The building's rows on GroupBox1: a caption and its field each, the field
// named for screen readers by its caption.
void TForm1::createBuildingFields() {
    QWidget* g = GroupBox1;

    Label1 = RowCaption(g, "Label1", {16, 16, 116, 16}, QStringLiteral("Ширина здания, м"));
    Label2 = RowCaption(g, "Label2", {16, 40, 106, 16}, QStringLiteral("Длина здания, м"));
    Label3 =
        RowCaption(g, "Label3", {16, 64, 196, 16}, QStringLiteral("Наибольшая высота здания, м"));
    Label4 = RowCaption(g, "Label4", {16, 88, 248, 16},
                        QStringLiteral("Среднегодовое число ударов молнии"));
    Label6 = RowCaption(g, "Label6", {16, 132, 0, 16}, QStringLiteral("Здания и сооружения"));
    Label9 = RowCaption(g, "Label9", {16, 168, 0, 16}, QStringLiteral("Местоположение"));
    Label11 = RowCaption(g, "Label11", {16, 192, 0, 16}, QStringLiteral("Категория молниезащиты"));
    Label12 = RowCaption(g, "Label12", {16, 216, 0, 16}, QStringLiteral("Тип зоны защиты"));
    Label5 = RowCaption(g, "Label5", {16, 240, 0, 16}, QStringLiteral("Тип молниеотвода"));

    Edit1 = MakeEdit(g, "Edit1", {272, 16, 49, 21});
    Edit2 = MakeEdit(g, "Edit2", {272, 40, 49, 21});
    Edit3 = MakeEdit(g, "Edit3", {272, 64, 49, 21});
    Edit4 = MakeGreenEdit(g, "Edit4", {272, 88, 49, 21});
    Memo1 = MakeMemo(g, "Memo1", {272, 112, 497, 49});
    Memo1->setFrameShape(QFrame::NoFrame);
    MakeMoneyGreen(Memo1);
    Edit6 = MakeGreenEdit(g, "Edit6", {272, 164, 497, 21});
    Edit7 = MakeGreenEdit(g, "Edit7", {272, 188, 497, 21});
    Edit5 = MakeGreenEdit(g, "Edit5", {272, 212, 49, 21});
    ComboBox1 = new QComboBox(g);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setEditable(true);
    ComboBox1->setInsertPolicy(QComboBox::NoInsert);
    for (const RodTypeInfo& type : RodTypeInfos())
        ComboBox1->addItem(QString::fromUtf8(type.name));
    ComboBox1->setCurrentIndex(-1);
    ComboBox1->setEditText(QString());
    fitRodTypeList();

    // Each field is named for screen readers by the caption of its row.
    const std::pair<QWidget*, QLabel*> rows[] = {
        {Edit1, Label1}, {Edit2, Label2},  {Edit3, Label3},  {Edit4, Label4},     {Memo1, Label6},
        {Edit6, Label9}, {Edit7, Label11}, {Edit5, Label12}, {ComboBox1, Label5},
    };
    for (const auto& [field, label] : rows) {
        field->setAccessibleName(label->text());
        label->setBuddy(field);
    }
}

// The menu bar above the pages: the window grows by its height. Every change
// of a field or choice refreshes the title's mark of changes not saved.
void TForm1::createMenu() {
    document_ = new DesignDocument(*this, services_);
    QMenuBar* bar = document_->createMenuBar();
    const int height = bar->sizeHint().height();
    bar->setGeometry(0, 0, width(), height);
    PageControl1->move(0, height);
    setFixedSize(width(), PageControl1->height() + height);
    setAcceptDrops(true);
    for (QLineEdit* field :
         {Edit1, Edit2, Edit3, Edit4, Edit5, Edit8, Edit9, Edit10, Edit11, Edit13})
        connect(field, &QLineEdit::textChanged, this, &TForm1::designChanged);
    connect(Memo1, &QPlainTextEdit::textChanged, this, &TForm1::designChanged);
    connect(ComboBox1, &QComboBox::currentIndexChanged, this, &TForm1::designChanged);
    connect(ComboBox1, &QComboBox::editTextChanged, this, &TForm1::designChanged);
    connect(Button3, &QPushButton::clicked, this, &TForm1::designChanged);
    connect(this, &TForm1::designChanged, document_, &DesignDocument::refresh);
}

// The rod-type list shows its items whole: the field as wide as the longest
// (up to the fields above it), the drop-down at least as wide, and a picked
// type from its start should it still not fit.
void TForm1::fitRodTypeList() {
    const int width = std::clamp(ComboBox1->sizeHint().width(), 313, 497);
    ComboBox1->setGeometry(272, 238, width, 21);
    QAbstractItemView* list = ComboBox1->view();
    list->setMinimumWidth(list->sizeHintForColumn(0) + 2 * list->frameWidth() +
                          list->style()->pixelMetric(QStyle::PM_ScrollBarExtent));
    connect(ComboBox1, &QComboBox::currentIndexChanged, this,
            [this] { ComboBox1->lineEdit()->setCursorPosition(0); });
}

void TForm1::setTabOrder() {
    const QWidget* chain[] = {Edit1,   Edit3,     Edit2,   Edit4,   Memo1,  Edit5,  Edit6,
                              Edit7,   ComboBox1, Button1, Button5, Edit8,  Edit9,  Edit10,
                              Edit11,  Edit14,    Edit15,  Edit16,  Edit17, Edit18, Edit13,
                              Button6, Button4,   Button2, Button3};
    for (size_t i = 1; i < std::size(chain); ++i)
        QWidget::setTabOrder(const_cast<QWidget*>(chain[i - 1]), const_cast<QWidget*>(chain[i]));
}

void TForm1::setPeers(TForm2* form2, TForm5* form5, TForm6* form6, TForm7* form7, TForm8* form8) {
    Form2 = form2;
    Form5 = form5;
    Form6 = form6;
    Form7 = form7;
    Form8 = form8;
    // The drawing follows the building's dimensions and type as they change.
    for (QLineEdit* field : {Edit1, Edit2, Edit3})
        connect(field, &QLineEdit::textChanged, this, [this] { handle(&TForm1::refreshDrawing); });
    connect(Memo1, &QPlainTextEdit::textChanged, this, [this] { handle(&TForm1::refreshDrawing); });
    connect(form8->RodTable1, &RodTable::rodsEdited, this, &TForm1::designChanged);
    connect(form8, &TForm8::rodDragged, this, &TForm1::dragSystemRod);
    connect(form8, &TForm8::placementChanged, this, [this](const Placement& placement) {
        design_.placement = placement;
        Label24->setText(Form8->figure()->verdict.text);
        emit designChanged(); // the placement is saved with the design
    });
    // "Подобрать высоту" accepted: the height goes into its row of the rod page.
    connect(form8, &TForm8::heightChosen, this, [this](int row, double height) {
        const auto fields = rodInputs();
        if (row >= 0 && static_cast<size_t>(row) < fields.size())
            fields[static_cast<size_t>(row)]->setText(numbers().fixed(height, 1));
    });
    report_ = std::make_unique<ReportMaker>(reportSetup_, services_.dialogs, *form7);
}

void TForm1::showEvent(QShowEvent* event) {
    Form::showEvent(event);
    // Only the program's first showing: a restore after minimising is a show
    // too, and must not take the focus from the page in front.
    if (!shown_) {
        shown_ = true;
        FormShow();
    }
}

void TForm1::closeEvent(QCloseEvent* event) {
    // Closing the main window ends the program, whatever else is open, once
    // changes not saved to the design's file are saved or given up.
    if (!document_->maybeSave()) {
        event->ignore();
        return;
    }
    event->accept();
    QCoreApplication::exit(0);
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        // The input fields only: the read-only N field must still copy.
        for (QLineEdit* field : {Edit1, Edit2, Edit3, Edit8, Edit9, Edit10, Edit11})
            if (watched == field)
                return NumberKeyPress(field, key);
        if ((watched == Edit4 || watched == Memo1) && IsOpeningKey(*key)) {
            handle(watched == Edit4 ? &TForm1::Edit4Click : &TForm1::Memo1Click);
            return true;
        }
        break;
    }
    case QEvent::MouseButtonRelease: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        auto* widget = static_cast<QWidget*>(watched);
        if (mouse->button() != Qt::LeftButton ||
            !widget->rect().contains(mouse->position().toPoint()))
            break;
        if (watched == Edit4)
            handle(&TForm1::Edit4Click);
        else if (watched == Memo1->viewport())
            handle(&TForm1::Memo1Click);
        break;
    }
    case QEvent::MouseMove: {
        auto* container = static_cast<QWidget*>(watched);
        if (!IsBareSurface(container, static_cast<QMouseEvent*>(event)->position().toPoint()))
            break;
        if (watched == GroupBox1 || watched == GroupBox2)
            handle(&TForm1::GroupBox1MouseMove);
        else if (watched == TabSheet1)
            handle(&TForm1::TabSheet1MouseMove);
        else if (watched == GroupBox3)
            handle(&TForm1::GroupBox3MouseMove);
        break;
    }
    default:
        break;
    }
    return Form::eventFilter(watched, event);
}

void TForm1::FormCreate() {
    Memo1->clear();
}

void TForm1::FormShow() {
    Edit1->setFocus();
}

// Number fields: only digits, "," and "." are typed; Enter moves along the
// chain of the page to the next field if that one is visible.
bool TForm1::NumberKeyPress(QLineEdit* field, QKeyEvent* event) {
    switch (ClassifyNumberKey(*event)) {
    case TypedKey::Pass:
        return false;
    case TypedKey::Discard:
        return true;
    case TypedKey::Enter:
        break;
    }
    const std::pair<QLineEdit*, QLineEdit*> next[] = {
        {Edit1, Edit2}, {Edit2, Edit3}, {Edit8, Edit9}, {Edit9, Edit10}, {Edit10, Edit11},
    };
    for (const auto& [from, to] : next)
        if (field == from && !to->isHidden())
            to->setFocus(Qt::TabFocusReason);
    return true;
}

void TForm1::Edit4Click() {
    if (!Edit1->text().isEmpty() && !Edit2->text().isEmpty() && !Edit3->text().isEmpty())
        Form2->showMap(this);
    else
        message(kEnterAll);
}

void TForm1::Memo1Click() {
    if (!Edit4->text().isEmpty())
        Form5->showOver(this);
    else
        message(kEnterAll);
}

void TForm1::GroupBox1MouseMove() {
    if (!Edit5->text().isEmpty() && !ComboBox1->currentText().isEmpty())
        Button1->setEnabled(true);
}

void TForm1::TabSheet1MouseMove() {
    GroupBox1MouseMove();
    if (!ComboBox1->currentText().isEmpty())
        Button5->setEnabled(true);
}

int TForm1::rodTypeIndex() const {
    return rodTypeTyped_ ? -1 : ComboBox1->currentIndex();
}

void TForm1::takeRodTypeCode() {
    const int index = rodTypeIndex();
    if (index >= 0 && static_cast<size_t>(index) < RodTypeInfos().size())
        design_.rodType = index + 1;
}

void TForm1::Button1Click() {
    // The dimensions must be numbers; their values are not kept.
    numbers().toFloat(Edit1->text());
    numbers().toFloat(Edit2->text());
    numbers().toFloat(Edit3->text());
    takeRodTypeCode();
    const ZoneFlags flags = Form5->zoneFlags();
    design_.zoneA = flags.zoneA;
    design_.zoneB = flags.zoneB;
    if (design_.rodType != 0) {
        PageControl1->setActivePage(TabSheet2);
        setRodLayout(RodLayoutFor(design_.rodType));
        Edit8->setFocus(Qt::OtherFocusReason); // typing goes to the first input
    }
    Button6->setEnabled(false); // the fields no longer show a calculation
    design_.completed.reset();
    design_.system.reset();
    startSystem();
    refreshDrawing();
    for (QLineEdit* field :
         {Edit8, Edit9, Edit10, Edit11, Edit13, Edit14, Edit15, Edit16, Edit17, Edit18})
        field->clear();
}

void TForm1::Button5Click() {
    takeRodTypeCode();
    const std::int32_t code = design_.rodType;
    Label14->setText(NumberText::fromInt(code));
    Form6->setRodType(code);
    if (code >= 1 && code <= 5)
        Form6->showOver(this);
}

} // namespace vostrel
