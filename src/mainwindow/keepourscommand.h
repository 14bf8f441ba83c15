#pragma once

#include <QUndoCommand>

#include <functional>

class QUndoStack;

// The undo step that decides conflicts of a merge by keeping the document's text. It
// changes no byte, only which conflicts are open: keep(true) on redo, keep(false) on undo.
class KeepOursCommand : public QUndoCommand
{
public:
    KeepOursCommand(const QString &text, std::function<void(bool kept)> keep);

    void undo() override { mKeep(false); }
    void redo() override { mKeep(true); }

    // Steps that change no byte leave the document as its file holds it: when the history
    // moved from its clean index across such steps only, where it is now is clean too.
    static void followClean(QUndoStack *history, int from, int to);

private:
    std::function<void(bool kept)> mKeep;
};
