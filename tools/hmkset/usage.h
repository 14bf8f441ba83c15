#pragma once

#include <QString>
#include <QStringView>

struct CommandHelp
{
    QStringView name;
    int argumentCount;
    QStringView synopsis; // the usage line after "hmkset "
    QStringView details;
    bool takesOutput = false; // "-o OUT" may follow the arguments
    bool takesAppend = false; // and "--append"
};

// The command of that name, or nullptr.
const CommandHelp *findCommand(QStringView name);

// The overview of all commands, and the help of one.
QString usageText();
QString commandHelpText(const CommandHelp &command);
