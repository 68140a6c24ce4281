// Start-up: the five windows, their captions and sizes, and the error handler.
#include "fixture.h"

#include "app/startup.h"
#include "ui/errorhandler.h"

#include <QMenu>

#include <QtTest>

using namespace vostrel;

class TestStartup : public QObject {
    Q_OBJECT
private slots:
    void fiveWindows();
    void showingAgainKeepsPlace();
    void conversionFailureStopsHandler();
    void closingMainWindowEndsLoop();
    void systemSeparator();
    void qtTextsRussian();
};

void TestStartup::fiveWindows() {
    Program p(",");
    const WindowSet& windows = *p.windows;

    struct Expected {
        QWidget* window;
        const char* className;
        QString caption;
        QSize size;
    };
    const Expected expected[] = {
        {&windows.Form1(), "vostrel::TForm1", kTitle, {783, 335}},
        {&windows.Form2(),
         "vostrel::TForm2",
         "Карта средней продолжительности гроз в часах",
         {750, 550}},
        {&windows.Form5(), "vostrel::TForm5", "Выбор типа здания", {688, 185}},
        {&windows.Form6(), "vostrel::TForm6", "Расчёт высоты молниеотвода", {500, 160}},
        {&windows.Form7(), "vostrel::TForm7", "Генерация отчёта", {330, 78}},
    };
    for (const Expected& e : expected) {
        QCOMPARE(e.window->metaObject()->className(), e.className);
        QCOMPARE(e.window->windowTitle(), e.caption);
        QCOMPARE(e.window->size(), e.size);
        QCOMPARE(e.window->minimumSize(), e.size);
        QCOMPARE(e.window->maximumSize(), e.size);
        QVERIFY(e.window->isWindow());
        const Qt::WindowFlags flags = e.window->windowFlags();
        QVERIFY(flags & Qt::WindowCloseButtonHint);
        QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
        QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
        QCOMPARE(e.window->isVisible(), e.window == &windows.Form1());
    }
    QVERIFY(p.dialogs.shown.isEmpty());
}

void TestStartup::showingAgainKeepsPlace() {
    Program p(",");
    const WindowSet& windows = *p.windows;
    TForm6& form6 = windows.Form6();
    form6.showOver(&windows.Form1());
    QVERIFY(form6.isVisible());
    const QPoint centre = windows.Form1().frameGeometry().center();
    QVERIFY(std::abs(form6.frameGeometry().center().x() - centre.x()) <= 10);
    // Moved by the user, shown again while visible: it stays where it is.
    form6.move(form6.pos() + QPoint(40, 30));
    const QPoint moved = form6.pos();
    form6.showOver(&windows.Form1());
    QCOMPARE(form6.pos(), moved);
    // The close box only hides an auxiliary window.
    form6.close();
    QVERIFY(!form6.isVisible());
    QVERIFY(windows.Form1().isVisible());
}

void TestStartup::conversionFailureStopsHandler() {
    RecordingDialogs dialogs;
    const NumberText numbers(",");
    bool reachedEnd = false;
    double stored = 0;
    RunHandler(dialogs, nullptr, [&] {
        stored = numbers.toFloat("7,5");
        stored = numbers.toFloat("12.5");
        reachedEnd = true;
    });
    QVERIFY(!reachedEnd);
    QCOMPARE(stored, 7.5); // what the handler did before the failure stays
    QCOMPARE(dialogs.shown.size(), 1);
    QCOMPARE(dialogs.shown.front().kind, RecordingDialogs::Shown::Error);
    QCOMPARE(dialogs.shown.front().text, "'12.5' is not a valid floating point value.");
}

void TestStartup::closingMainWindowEndsLoop() {
    Program p(",");
    const WindowSet& windows = *p.windows;
    windows.Form6().showOver(&windows.Form1());
    windows.Form2().showOver(&windows.Form1());
    QVERIFY(windows.Form6().isVisible());
    bool closed = false, othersOpen = false;
    QTimer::singleShot(0, &windows.Form1(), [&] {
        closed = windows.Form1().close();
        othersOpen = windows.Form6().isVisible() && windows.Form2().isVisible();
    });
    // A watchdog, so that a loop that does not end fails instead of hanging.
    QTimer watchdog;
    watchdog.setSingleShot(true);
    bool timedOut = false;
    QObject::connect(&watchdog, &QTimer::timeout, [&] {
        timedOut = true;
        QCoreApplication::exit(2);
    });
    watchdog.start(10000);
    QCOMPARE(QCoreApplication::exec(), 0);
    QVERIFY(!timedOut);
    QVERIFY(closed);
    QVERIFY(othersOpen); // nothing else was asked or closed first
}

// The separator follows the regional settings the test runs under, when the
// test is told which to expect (CTest runs it under C and Russian settings).
void TestStartup::systemSeparator() {
    const QString expected = qEnvironmentVariable("EXPECTED_DECIMAL_SEPARATOR");
    if (expected.isEmpty())
        QSKIP("EXPECTED_DECIMAL_SEPARATOR not set");
    QCOMPARE(NumberText::systemDecimalSeparator(), expected);
    const NumberText numbers;
    QCOMPARE(numbers.fixed(0.25, 1), "0" + expected + "3");
    QCOMPARE(numbers.toFloat("12" + expected + "5"), 12.5);
}

void TestStartup::qtTextsRussian() {
    QVERIFY2(LoadQtTranslations(*QCoreApplication::instance()), "qtbase_ru.qm is not installed");
    QLineEdit field;
    std::unique_ptr<QMenu> menu(field.createStandardContextMenu());
    QStringList texts;
    for (const QAction* action : menu->actions())
        texts << action->text().section(QLatin1Char('\t'), 0, 0);
    QVERIFY2(texts.contains("&Копировать"), qPrintable(texts.join(' ')));
    QVERIFY(!texts.contains("&Copy"));
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
