#include "mainwindow.h"
#include "qtplatformservices.h"
#include "terminationnotifier.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QTimer>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

void describeCommandLine(QCommandLineParser &parser)
{
    parser.setApplicationDescription(u"Edits hmkset.dat, the tileset file of Harrowmark."_s);
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(u"FILE"_s, u"The tileset file to open."_s, u"[FILE]"_s);
}

// --help and --version only print, so they must work where no display is, such as over
// ssh. Arguments meant for Qt (-platform, -style) fail this early parse; QApplication
// then takes them out and the full parse below answers.
bool onlyPrints(int argc, char *argv[], QCommandLineParser &parser)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return parser.parse(arguments) && (parser.isSet(u"help"_s) || parser.isSet(u"version"_s));
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication::setApplicationName(u"HMK Tileset Editor"_s);
    QCoreApplication::setApplicationVersion(QStringLiteral(HMK_VERSION));
    QCommandLineParser parser;
    describeCommandLine(parser);
    if (onlyPrints(argc, argv, parser)) {
        QCoreApplication app(argc, argv);
        parser.process(app); // prints and exits
    }

    QApplication app(argc, argv);
    // Lets the desktop match the window to its menu entry and icon (the Wayland app id).
    QGuiApplication::setDesktopFileName(QStringLiteral(HMK_APP_ID));
    parser.process(app);
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1) {
        std::fprintf(stderr, "hmktse: only one FILE can be opened, got %d\n", int(files.size()));
        return 1;
    }
    // A relative FILE names a file in the folder hmktse was started in.
    const QString file = files.isEmpty() ? QString() : QFileInfo(files.first()).absoluteFilePath();

    QtPlatformServices services;
    MainWindow window(services, ProgramFolders::ofApplication());
    window.show();
    TerminationNotifier termination;
    QObject::connect(&termination, &TerminationNotifier::terminationRequested, &window,
                     &QWidget::close);
    // Once the window is up, exactly as Open would, with the same messages for a bad file.
    if (!file.isEmpty())
        QTimer::singleShot(0, &window, [&window, file] { window.openFile(file); });
    return app.exec();
}
