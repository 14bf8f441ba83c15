#include "mainwindow.h"
#include "qtplatformservices.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("HMK Tileset Editor"));
    QApplication::setApplicationVersion(QStringLiteral("1.1"));

    QtPlatformServices services;
    MainWindow window(services, QCoreApplication::applicationDirPath());
    window.show();
    return app.exec();
}
