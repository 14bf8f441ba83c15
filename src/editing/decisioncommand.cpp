#include "decisioncommand.h"

DecisionCommand::DecisionCommand(const QString &text, std::function<void(bool decided)> decide)
    : QUndoCommand(text)
    , mDecide(std::move(decide))
{}
