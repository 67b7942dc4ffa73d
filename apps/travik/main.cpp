#include <QApplication>
#include <QMainWindow>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Travik"));
    QMainWindow w;
    w.setWindowTitle(QStringLiteral("Travik"));
    w.showMaximized();
    return app.exec();
}
