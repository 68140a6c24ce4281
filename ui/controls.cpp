#include "controls.h"

#include "ui/form.h"

#include <algorithm>
#include <cmath>

#include <QCoreApplication>
#include <QFontMetrics>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabBar>

namespace vostrel {

namespace {
constexpr int kTabHeight = 24;       // height of the tab row
constexpr int kPageBorder = 4;       // frame around the pages
constexpr qreal kSmallestPoints = 7; // captions are never drawn smaller
const char* const kDesignWidth = "designWidth";
const char* const kDesignPoints = "designPoints";
const char* const kRoom = "room";

// Qt drops pointer moves over a button that does not track the pointer, and
// a disabled button swallows them; this hands them on to the button's parent,
// whose bare-surface test then sees the disabled button as bare surface.
class DisabledMoveRelay final : public QObject {
public:
    explicit DisabledMoveRelay(QWidget* button) : QObject(button) {
        button->setMouseTracking(true);
        button->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* button = static_cast<QWidget*>(watched);
        if (event->type() != QEvent::MouseMove || button->isEnabled() || !button->parentWidget())
            return false;
        const auto* move = static_cast<QMouseEvent*>(event);
        const QPointF pos = button->mapToParent(move->position());
        QMouseEvent relayed(QEvent::MouseMove, pos, button->parentWidget()->mapToGlobal(pos),
                            move->button(), move->buttons(), move->modifiers());
        QCoreApplication::sendEvent(button->parentWidget(), &relayed);
        return false;
    }
};
} // namespace

PageControl::PageControl(QWidget* parent, const QRect& geometry)
    : QWidget(parent), tabs_(new QTabBar(this)), pages_(new QStackedWidget(this)) {
    setObjectName(QStringLiteral("PageControl1"));
    setGeometry(geometry);
    auto* frame = new QFrame(this);
    frame->setFrameShape(QFrame::StyledPanel);
    frame->setGeometry(0, kTabHeight - 2, width(), height() - kTabHeight + 2);
    frame->lower();
    pages_->setGeometry(kPageBorder, kTabHeight, width() - 2 * kPageBorder,
                        height() - kTabHeight - kPageBorder);
    tabs_->setDrawBase(false);
    tabs_->setExpanding(true);
    tabs_->setFocusPolicy(Qt::NoFocus);
    tabs_->setGeometry(0, 0, width(), kTabHeight);
    // The tab always leads back to the first page.
    connect(tabs_, &QTabBar::tabBarClicked, this, [this](int index) {
        if (index == 0 && pages_->count() > 0)
            setActivePage(pages_->widget(0));
    });
}

QWidget* PageControl::addPage(const QString& objectName) {
    auto* page = new QWidget;
    page->setObjectName(objectName);
    pages_->addWidget(page);
    if (pages_->count() == 1)
        tabs_->addTab(QString());
    return page;
}

void PageControl::setActivePage(QWidget* page) {
    pages_->setCurrentWidget(page);
}

QWidget* PageControl::activePage() const {
    return pages_->currentWidget();
}

TypedKey ClassifyNumberKey(const QKeyEvent& event) {
    switch (event.key()) {
    case Qt::Key_Backspace:
        return TypedKey::Pass;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return TypedKey::Enter;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Delete:
        return TypedKey::Pass; // these type no character
    default:
        break;
    }
    // Ctrl with a letter types a control character: dropped like any other.
    const Qt::KeyboardModifiers mods = event.modifiers() & ~Qt::KeypadModifier;
    if ((mods & Qt::ControlModifier) && !(mods & Qt::AltModifier) && event.key() >= Qt::Key_A &&
        event.key() <= Qt::Key_Z)
        return TypedKey::Discard;
    const QString text = event.text();
    if (text.isEmpty())
        return TypedKey::Pass;
    if (text.size() == 1 && (text[0].isDigit() && text[0].unicode() < 128))
        return TypedKey::Pass;
    if (text == QLatin1String(",") || text == QLatin1String("."))
        return TypedKey::Pass;
    return TypedKey::Discard;
}

bool IsBareSurface(const QWidget* container, QPoint pos) {
    if (!container->rect().contains(pos))
        return false;
    const QWidget* child = container->childAt(pos);
    return child == nullptr || !child->isEnabled();
}

QGroupBox* MakeFrame(QWidget* parent, const char* name, const QRect& geometry) {
    auto* frame = new QGroupBox(parent);
    frame->setObjectName(QLatin1String(name));
    frame->setGeometry(geometry);
    frame->setMouseTracking(true);
    return frame;
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QRect& geometry, const QString& text,
                  int pointSize, int room) {
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setProperty(kDesignWidth, geometry.width());
    label->setProperty(kDesignPoints, pointSize);
    label->setProperty(kRoom, room);
    label->setGeometry(geometry.left(), geometry.top(), std::max(geometry.width(), 1),
                       geometry.height() > 0 ? geometry.height() : 16);
    SetCaption(label, text);
    return label;
}

void SetCaption(QLabel* label, const QString& text) {
    label->setText(text);
    const int designWidth = label->property(kDesignWidth).toInt(); // 0: sized to its text
    const int room = label->property(kRoom).toInt();               // 0: no limit
    QFont font = WindowFont();
    font.setPointSizeF(label->property(kDesignPoints).toReal());
    const QStringList lines = text.split(QLatin1Char('\n'));
    const auto needed = [&] {
        int widest = 0;
        for (const QString& line : lines)
            widest = std::max(widest, QFontMetrics(font).horizontalAdvance(line));
        return widest + 2;
    };
    const int atDesign = needed();
    int width = std::max(atDesign, designWidth);
    if (room > 0)
        width = std::min(width, std::max(room, designWidth));
    if (atDesign > width) {
        // Text width grows with the point size: start at the size that should
        // just fit (in half points), so that few sizes are tried and loaded.
        const qreal fits = std::floor(2 * font.pointSizeF() * (width - 2) / (atDesign - 2)) / 2;
        font.setPointSizeF(std::max(fits, kSmallestPoints));
        while (needed() > width && font.pointSizeF() > kSmallestPoints)
            font.setPointSizeF(font.pointSizeF() - 0.5);
    }
    label->setFont(font);
    label->resize(width, label->height());
}

void SetCaptions(std::initializer_list<std::pair<QLabel*, QString>> captions) {
    qreal smallest = 0;
    for (const auto& [label, text] : captions) {
        SetCaption(label, text);
        if (!text.trimmed().isEmpty())
            smallest = smallest > 0 ? std::min(smallest, label->font().pointSizeF())
                                    : label->font().pointSizeF();
    }
    if (smallest <= 0)
        return;
    for (const auto& [label, text] : captions) {
        QFont font = label->font();
        font.setPointSizeF(smallest);
        label->setFont(font);
    }
}

QLineEdit* MakeEdit(QWidget* parent, const char* name, const QRect& geometry) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setGeometry(geometry);
    return edit;
}

void MakeMoneyGreen(QWidget* field) {
    QPalette palette = field->palette();
    palette.setColor(QPalette::Base, kMoneyGreen);
    field->setPalette(palette);
}

QLineEdit* MakeGreenEdit(QWidget* parent, const char* name, const QRect& geometry) {
    QLineEdit* edit = MakeEdit(parent, name, geometry);
    edit->setReadOnly(true);
    edit->setFrame(false);
    MakeMoneyGreen(edit);
    // A text longer than the field is clipped: its tooltip holds it whole.
    QObject::connect(edit, &QLineEdit::textChanged, edit, &QLineEdit::setToolTip);
    return edit;
}

QPlainTextEdit* MakeMemo(QWidget* parent, const char* name, const QRect& geometry) {
    auto* memo = new QPlainTextEdit(parent);
    memo->setObjectName(QLatin1String(name));
    memo->setGeometry(geometry);
    memo->setReadOnly(true);
    memo->setTabChangesFocus(true);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    memo->document()->setDocumentMargin(1);
    return memo;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QRect& geometry,
                        const QString& text, int pointSize, QColor textColour) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(geometry);
    button->setFont(WindowFont(pointSize));
    button->setAutoDefault(false);
    button->setAccessibleName(text);
    new DisabledMoveRelay(button);
    if (textColour.isValid()) {
        QPalette palette = button->palette();
        palette.setColor(QPalette::Active, QPalette::ButtonText, textColour);
        palette.setColor(QPalette::Inactive, QPalette::ButtonText, textColour);
        button->setPalette(palette);
    }
    return button;
}

} // namespace vostrel
