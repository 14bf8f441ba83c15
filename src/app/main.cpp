#include "mainwindow.h"
#include "qtplatformservices.h"
#include "terminationnotifier.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

using namespace Qt::StringLiterals;

namespace {

// Qt's own options for the window system, which QApplication takes out of the command
// line itself (those of X11 included): accepted by the parser, left out of its help.
void acceptWindowSystemOptions(QCommandLineParser &parser)
{
    const auto add = [&parser](std::initializer_list<QString> names, const QString &value) {
        for (const QString &name : names) {
            QCommandLineOption option(name, QString(), value);
            option.setFlags(QCommandLineOption::HiddenFromHelp);
            parser.addOption(option);
        }
    };
    add({u"platform"_s, u"platformpluginpath"_s, u"platformtheme"_s, u"plugin"_s,
         u"qwindowgeometry"_s, u"qwindowicon"_s, u"qwindowtitle"_s, u"session"_s, u"style"_s,
         u"stylesheet"_s, u"display"_s, u"name"_s, u"visual"_s, u"geometry"_s, u"icon"_s,
         u"title"_s},
        u"value"_s);
    add({u"reverse"_s, u"widgetcount"_s, u"nograb"_s, u"dograb"_s, u"testability"_s}, QString());
    // As Qt reads them: "-platform offscreen", not the letters p, l, a, ...
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
}

void describeCommandLine(QCommandLineParser &parser)
{
    parser.setApplicationDescription(u"Edits hmkset.dat, the tileset file of Harrowmark."_s);
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(u"FILE"_s, u"The tileset file to open."_s, u"[FILE]"_s);
    acceptWindowSystemOptions(parser);
}

QtMessageHandler qtMessages = nullptr;

// Without a display the window system's plugin ends the program from inside Qt with an
// abort; the user gets one plain line and status 1 instead.
void endWithoutDisplay(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type != QtFatalMsg) {
        qtMessages(type, context, message);
        return;
    }
    std::fprintf(stderr, "hmktse: no display to show the window on; start it from a desktop "
                         "session (DISPLAY or WAYLAND_DISPLAY), or use hmkset on the command "
                         "line\n");
    std::_Exit(1);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication::setApplicationName(u"HMK Tileset Editor"_s);
    QCoreApplication::setApplicationVersion(QStringLiteral(HMK_VERSION));
    QString file;
    {
        // Read before the window system is reached: help, version and a wrong command line
        // only print, so they need no display, as over ssh or in a script.
        QCoreApplication commandLine(argc, argv);
        QCommandLineParser parser;
        describeCommandLine(parser);
        parser.process(commandLine); // prints and exits for help, version and errors
        const QStringList files = parser.positionalArguments();
        if (files.size() > 1) {
            std::fprintf(stderr, "hmktse: only one FILE can be opened, got %d\n",
                         int(files.size()));
            return 1;
        }
        // A relative FILE names a file in the folder hmktse was started in.
        if (!files.isEmpty())
            file = QFileInfo(files.first()).absoluteFilePath();
    }

    qtMessages = qInstallMessageHandler(endWithoutDisplay);
    QApplication app(argc, argv);
    qInstallMessageHandler(qtMessages);
    // Lets the desktop match the window to its menu entry and icon (the Wayland app id).
    QGuiApplication::setDesktopFileName(QStringLiteral(HMK_APP_ID));
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
