#include "commands.h"
#include "console.h"
#include "usage.h"

#include <QCoreApplication>
#include <QFile>
#include <QStringList>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

bool isHelpOption(QStringView argument)
{
    return argument == u"--help" || argument == u"-h";
}

int usageError(const QString &problem, const QString &help)
{
    printError(u"hmkset: "_s + problem + u"\n\n"_s + help);
    return ExitUsage;
}

int showHelp(const QString &help)
{
    return printOut(help) ? ExitSuccess : ExitFailure;
}

// "help", "help COMMAND", "--help"; "help help" is the overview too.
int runHelp(const QStringList &arguments)
{
    if (arguments.size() > 2)
        return usageError(u"help takes at most one command"_s, usageText());
    const QString topic = arguments.value(1);
    if (topic.isEmpty() || topic == u"help" || isHelpOption(topic))
        return showHelp(usageText());
    if (const CommandHelp *command = findCommand(topic))
        return showHelp(commandHelpText(*command));
    return usageError(u"unknown command \"%1\""_s.arg(topic), usageText());
}

int run(const QStringList &arguments)
{
    if (arguments.isEmpty())
        return usageError(u"no command given"_s, usageText());
    const QString &name = arguments.first();
    if (name == u"help" || isHelpOption(name))
        return runHelp(arguments);
    if (name == u"--version") {
        if (arguments.size() > 1)
            return usageError(u"--version takes no arguments"_s, usageText());
        return showHelp(u"hmkset "_s + QStringLiteral(HMK_VERSION));
    }
    const CommandHelp *command = findCommand(name);
    if (!command)
        return usageError(u"unknown command \"%1\""_s.arg(name), usageText());

    QStringList rest = arguments.mid(1);
    if (std::any_of(rest.begin(), rest.end(), isHelpOption))
        return showHelp(commandHelpText(*command));
    QString output;
    if (const qsizetype option = rest.indexOf(u"-o"_s); command->takesOutput && option >= 0) {
        if (option + 1 == rest.size())
            return usageError(u"-o needs a file name"_s, commandHelpText(*command));
        output = rest[option + 1];
        rest.remove(option, 2);
    }
    const bool append = command->takesAppend && rest.removeAll(u"--append"_s) > 0;
    if (rest.size() != command->argumentCount)
        return usageError(u"%1 takes %2 argument(s), got %3"_s.arg(name)
                              .arg(command->argumentCount)
                              .arg(rest.size()),
                          commandHelpText(*command));

    if (name == u"info")
        return runInfo(rest[0]);
    if (name == u"dump")
        return runDump(rest[0]);
    if (name == u"build")
        return runBuild(rest[0], rest[1]);
    if (name == u"diff")
        return runDiff(rest[0], rest[1]);
    if (name == u"merge")
        return runMerge(rest[0], rest[1], rest[2], output.isEmpty() ? rest[1] : output);
    if (name == u"export")
        return runExport(rest[0], rest[1]);
    if (name == u"import")
        return runImport(rest[0], rest[1], output.isEmpty() ? rest[0] : output, append);
    return runResave(rest[0], rest[1]);
}

// Qt names files in UTF-8 and decodes other bytes lossily: a name that is not UTF-8 would
// be read or written under another name. It is refused, printable ASCII shown as it is,
// any other byte as \xHH.
bool namesFileAsGiven(const QByteArray &argument)
{
    if (QFile::encodeName(QFile::decodeName(argument)) == argument)
        return true;
    QString shown;
    for (const char c : argument)
        shown += c >= 0x20 && c < 0x7F
                     ? QString(QLatin1Char(c))
                     : u"\\x"_s + QString::number(uchar(c), 16).rightJustified(2, u'0');
    printError(u"hmkset: \"%1\" is not UTF-8, and hmkset takes UTF-8 names only"_s.arg(shown));
    return false;
}

} // namespace

int main(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        if (!namesFileAsGiven(argv[i]))
            return ExitUsage;
    }
    QCoreApplication app(argc, argv);
    return run(QCoreApplication::arguments().mid(1));
}
