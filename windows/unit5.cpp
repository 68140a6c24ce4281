#include "unit5.h"

#include "ui/controls.h"
#include "windows/catalogue.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>
#include <stdexcept>

namespace vostrel {

namespace {
// The green tick of the "OK" button.
QIcon GreenTick() {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0, 128, 0), 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPolyline(QPolygonF({QPointF(2.5, 8.5), QPointF(6.5, 12.5), QPointF(13.5, 3.5)}));
    return QIcon(pixmap);
}

// The catalogue the window steps through; start-up reports why there is none.
std::unique_ptr<Catalogue> OpenCatalogue(const QString& path) {
    Outcome<Catalogue, QString> catalogue = Catalogue::open(path);
    if (!catalogue)
        throw std::runtime_error(catalogue.reason().toStdString());
    return std::make_unique<Catalogue>(std::move(catalogue).value());
}

QToolButton* NavButton(QWidget* parent, const char* objectName, Qt::ArrowType arrow,
                       const QString& name, int left) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QLatin1String(objectName));
    button->setArrowType(arrow);
    button->setGeometry(left, 0, 66, 25);
    button->setAccessibleName(name);
    button->setToolTip(name);
    button->setFocusPolicy(Qt::TabFocus);
    return button;
}
} // namespace

TForm5::TForm5(Services& services, const MainFields& form1)
    : Form(services, QStringLiteral("Выбор типа здания"), QSize(688, 185)), Form1(form1),
      ADOTable1(OpenCatalogue(services.cataloguePath)) {
    setObjectName(QStringLiteral("Form5"));
    // Captions keep clear of the memos at x = 184.
    Label6 =
        MakeLabel(this, "Label6", {8, 24, 141, 16}, QStringLiteral("Здания и сооружения"), 10, 172);
    Label1 = MakeLabel(this, "Label1", {8, 64, 114, 16}, QStringLiteral("Местоположение"), 10, 172);
    Label2 = MakeLabel(this, "Label2", {8, 88, 169, 16}, QStringLiteral("Категория молниезащиты"),
                       10, 172);
    DBMemo1 = MakeMemo(this, "DBMemo1", {184, 8, 497, 49});
    DBMemo2 = MakeMemo(this, "DBMemo2", {184, 64, 497, 21});
    DBMemo3 = MakeMemo(this, "DBMemo3", {184, 88, 497, 21});
    DBMemo1->setAccessibleName(Label6->text());
    DBMemo2->setAccessibleName(Label1->text());
    DBMemo3->setAccessibleName(Label2->text());

    DBText2 = new QLabel(this);
    DBText2->setObjectName(QStringLiteral("DBText2"));
    DBText2->setGeometry(368, 128, 9, 17);
    DBText2->hide();
    DBNavigator1 = new QWidget(this);
    DBNavigator1->setObjectName(QStringLiteral("DBNavigator1"));
    DBNavigator1->setGeometry(296, 120, 132, 25);
    NavPrior =
        NavButton(DBNavigator1, "NavPrior", Qt::LeftArrow, QStringLiteral("Предыдущая запись"), 0);
    NavNext =
        NavButton(DBNavigator1, "NavNext", Qt::RightArrow, QStringLiteral("Следующая запись"), 66);

    Label3 = new QLabel(QStringLiteral("Label3"), this);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setGeometry(320, 160, 32, 13);
    Label3->hide();
    Label4 = new QLabel(QStringLiteral("Label4"), this);
    Label4->setObjectName(QStringLiteral("Label4"));
    Label4->setGeometry(360, 160, 32, 13);
    Label4->hide();
    BitBtn1 = MakeButton(this, "BitBtn1", {312, 152, 105, 25}, QStringLiteral("OK"), 8);
    BitBtn1->setIcon(GreenTick());
    BitBtn1->setDefault(true);

    QWidget::setTabOrder(DBMemo1, DBMemo2);
    QWidget::setTabOrder(DBMemo2, NavPrior);
    QWidget::setTabOrder(NavPrior, NavNext);
    QWidget::setTabOrder(NavNext, DBMemo3);
    QWidget::setTabOrder(DBMemo3, BitBtn1);

    connect(NavPrior, &QToolButton::clicked, this, [this] {
        ADOTable1->prior();
        showCurrentRow();
    });
    connect(NavNext, &QToolButton::clicked, this, [this] {
        ADOTable1->next();
        showCurrentRow();
    });
    onClick(BitBtn1, &TForm5::BitBtn1Click);
    showCurrentRow();
}

TForm5::~TForm5() = default;

void TForm5::showCurrentRow() {
    const CatalogueRow row = ADOTable1->current();
    DBText2->setText(row.key1);
    DBMemo1->setPlainText(row.building);
    DBMemo2->setPlainText(row.location);
    DBMemo3->setPlainText(row.category);
    NavPrior->setEnabled(!ADOTable1->atFirst());
    NavNext->setEnabled(!ADOTable1->atLast());
}

// The window's default button: Enter confirms the row shown.
void TForm5::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        event->modifiers() == Qt::NoModifier) {
        BitBtn1->click();
        return;
    }
    Form::keyPressEvent(event);
}

ZoneFlags TForm5::zoneFlags() const {
    return {numbers().toInt(Label3->text()), numbers().toInt(Label4->text())};
}

bool TForm5::confirmCode(std::int32_t code) {
    if (!ADOTable1->find(code))
        return false;
    showCurrentRow();
    BitBtn1->click();
    return true;
}

void TForm5::reset() {
    while (!ADOTable1->atFirst())
        ADOTable1->prior();
    showCurrentRow();
    flags_ = {};
    confirmed_ = 0;
    Label3->setText(QStringLiteral("Label3"));
    Label4->setText(QStringLiteral("Label4"));
    hide();
}

void TForm5::BitBtn1Click() {
    const std::int32_t code = numbers().toInt(DBText2->text());
    const double N = numbers().toFloat(Form1.Edit4->text());
    const ZoneConfirmation zone = ConfirmZone(flags_, code, N);
    flags_ = zone.flags;
    if (zone.zoneLetter)
        Form1.Edit5->setText(QString::fromStdString(*zone.zoneLetter));
    Label3->setText(QString::fromStdString(zone.zoneAText));
    Label4->setText(QString::fromStdString(zone.zoneBText));
    Form1.Memo1->setPlainText(DBMemo1->toPlainText());
    Form1.Edit6->setText(DBMemo2->toPlainText());
    Form1.Edit7->setText(DBMemo3->toPlainText());
    confirmed_ = code;
    if (code >= 1 && code <= 14)
        hide();
}

} // namespace vostrel
