// The yardsticks of the start-up benchmark: the least Qt Widgets program that
// shows one empty window of the main window's size, and (with the argument
// "caption") the same window with one line of text, which costs the loading
// of the fonts that every window with text pays.
#include <QApplication>
#include <QLabel>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Minimal v1.0"));
    window.setFixedSize(783, 335);
    if (argc > 1 && QByteArray(argv[1]) == "caption") {
        auto* caption = new QLabel(QStringLiteral("Ширина здания, м"), &window);
        caption->move(16, 16);
        caption->adjustSize(); // lays the text out, as a fixed layout does
    }
    window.show();
    return app.exec();
}
