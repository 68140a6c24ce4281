// Small building blocks shared by the windows: the page control, the key
// rule of the number fields, the bare-surface test of frames, and factories
// for the kinds of control the windows use.
#pragma once

#include <QColor>
#include <QString>
#include <QWidget>
#include <initializer_list>
#include <utility>

class QGroupBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QStackedWidget;
class QTabBar;

namespace vostrel {

// A page control whose first page has a single tab without caption; further
// pages have no tab and are reached only by setActivePage().
class PageControl final : public QWidget {
    Q_OBJECT
public:
    PageControl(QWidget* parent, const QRect& geometry);

    // Adds a page of the control's client size; the first one gets the tab.
    QWidget* addPage(const QString& objectName);
    void setActivePage(QWidget* page);
    QWidget* activePage() const;

private:
    QTabBar* tabs_;
    QStackedWidget* pages_;
};

// What a number field does with a typed key: digits, "," and "." and
// Backspace pass, Enter is the caller's, every other character is dropped.
// Keys that type no character (arrows, Delete, Tab, Home...) pass.
enum class TypedKey { Pass, Enter, Discard };
TypedKey ClassifyNumberKey(const QKeyEvent& event);

// True when `pos` (in the container's coordinates) lies on the container's own
// surface: not on a child control, which takes its own mouse events. Disabled
// controls take none, so the surface under them counts as bare.
bool IsBareSurface(const QWidget* container, QPoint pos);

// Light green of the read-only fields the program fills.
inline const QColor kMoneyGreen(192, 220, 192);

// Factories: geometry is left, top, width, height within the parent.
QGroupBox* MakeFrame(QWidget* parent, const char* name, const QRect& geometry);
// A caption label at the given point size. A zero width sizes it to its text.
// `room` is the width it may take up to the control beside it: a text wider
// than its width widens it up to `room`, and beyond that is drawn smaller, so
// that no caption is cut off in the platform's (wider) sans-serif font.
QLabel* MakeLabel(QWidget* parent, const char* name, const QRect& geometry, const QString& text,
                  int pointSize, int room = 0);
// Sets a caption made by MakeLabel, fitting it as MakeLabel does; a text of
// several lines is fitted by its widest.
void SetCaption(QLabel* label, const QString& text);
// Sets captions of one column made by MakeLabel, all in the size of the one
// that had to be drawn smallest.
void SetCaptions(std::initializer_list<std::pair<QLabel*, QString>> captions);
QLineEdit* MakeEdit(QWidget* parent, const char* name, const QRect& geometry);
// A read-only field the program fills; its tooltip is its whole text.
QLineEdit* MakeGreenEdit(QWidget* parent, const char* name, const QRect& geometry);
QPlainTextEdit* MakeMemo(QWidget* parent, const char* name, const QRect& geometry);
QPushButton* MakeButton(QWidget* parent, const char* name, const QRect& geometry,
                        const QString& text, int pointSize, QColor textColour = QColor());

// Paints a read-only field money green, without a border.
void MakeMoneyGreen(QWidget* field);

} // namespace vostrel
