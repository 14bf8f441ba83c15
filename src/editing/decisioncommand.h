#pragma once

#include <QUndoCommand>

#include <functional>

// An undo step that changes no byte, such as a merge's conflict decided for the document's
// own text: redo runs decide(true), undo decide(false).
class DecisionCommand : public QUndoCommand
{
public:
    DecisionCommand(const QString &text, std::function<void(bool decided)> decide);

    void undo() override { mDecide(false); }
    void redo() override { mDecide(true); }

private:
    std::function<void(bool decided)> mDecide;
};
