// The floor the main window's start is measured against: a bare Qt Widgets
// program that shows one empty window of the main window's size.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Empty window"));
    // 6465 x 5220 twips at the screen's DPI, as the main window's client area.
    const double dpi = window.logicalDpiX();
    window.setFixedSize(qRound(6465 * dpi / 1440), qRound(5220 * dpi / 1440));
    window.show();
    return app.exec();
}
