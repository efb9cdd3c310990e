// The yardstick for start-up: a bare Qt window of the welcome window's size and nothing else.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Tapbook"));
    window.resize(393, 400);
    window.show();
    return app.exec();
}
