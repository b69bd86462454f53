#include <QApplication>
#include <QMainWindow>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QMainWindow w;
    w.setWindowTitle(QStringLiteral("Vidoteq"));
    w.resize(1090, 876);
    w.show();
    return app.exec();
}
