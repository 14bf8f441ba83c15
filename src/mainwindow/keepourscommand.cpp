#include "keepourscommand.h"

#include <QUndoStack>

KeepOursCommand::KeepOursCommand(const QString &text, std::function<void(bool kept)> keep)
    : QUndoCommand(text)
    , mKeep(std::move(keep))
{}

void KeepOursCommand::followClean(QUndoStack *history, int from, int to)
{
    if (from == to || history->cleanIndex() != from)
        return;
    for (int k = std::min(from, to); k < std::max(from, to); ++k) {
        if (!dynamic_cast<const KeepOursCommand *>(history->command(k)))
            return;
    }
    history->setClean();
}
