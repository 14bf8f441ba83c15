// Starts a window, lets the event loop show it, and quits: "startupprobe bare" for a bare Qt
// main window, "startupprobe editor [FILE]" for the editor, FILE opened once it is up.
// Prints the peak resident memory in kilobytes on standard error.
#include "mainwindow.h"
#include "qtplatformservices.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTimer>

#include <sys/resource.h>

#include <cstdio>
#include <cstring>
#include <memory>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const bool bare = argc < 2 || std::strcmp(argv[1], "bare") == 0;

    QTemporaryDir folder; // no settings file: the editor starts as on a first run
    QtPlatformServices services;
    std::unique_ptr<QMainWindow> window;
    if (bare) {
        window = std::make_unique<QMainWindow>();
        window->resize(525, 430);
    } else {
        auto editor = std::make_unique<MainWindow>(services, folder.path());
        if (argc > 2)
            editor->openFile(QString::fromLocal8Bit(argv[2]));
        window = std::move(editor);
    }
    window->show();
    QTimer::singleShot(0, &app, &QApplication::quit);
    const int result = app.exec();

    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::fprintf(stderr, "%ld\n", usage.ru_maxrss);
    return result;
}
