// The yardstick of the start-up benchmark: a plain Qt main window of the
// editor's client size with one Japanese label, nothing else.

#include <QApplication>
#include <QLabel>
#include <QMainWindow>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    auto *label = new QLabel(QStringLiteral("画面データ編集"), &window);
    window.setCentralWidget(label);
    window.setFixedSize(436, 386);
    window.setWindowTitle(QStringLiteral("8CH-Orvex [編集]"));
    window.show();
    return app.exec();
}
