#pragma once

#include "soakmodel.h"
#include "windowfixture.h"

#include <QVariant>

#include <random>

class QTreeWidget;

// Drives the real main window with seeded random user commands, answering every prompt and
// dialog one way or another, and checks the window against the model after every step.
class SoakDriver
{
public:
    explicit SoakDriver(quint32 seed)
        : mRandom(seed)
    {}
    // Writes the program folder's files, starts the window and checks it; what is wrong.
    QString start();
    // One random command and the checks after it; false with a report on a mismatch.
    bool step(int index, QString *report);

private:
    // Commands (soakcommands.cpp)
    void newFile();
    void importTileset();
    void renameTileset();
    void editEntry();
    void selectTileset();
    // Answers the save prompt, which comes only with unsaved changes; true when the command
    // goes on.
    bool answerSavePrompt(const QString &question, bool shutdown = false);
    void modelSave(bool as);
    QString chooseFile(const QString &title, bool save);
    int chooseTileset(const SoakModel::Table &from);
    // Types into the label editor open in tree, which must offer `offered`; the text when
    // confirmed with Return, nothing after Escape.
    std::optional<QString> typeLabel(QTreeWidget *tree, const QString &offered, int width);
    // A menu item, or now and then the Toolbar1 button that does the same.
    void run(const QString &action, int button = 0);

    // Random data and checks (soakdriver.cpp)
    std::string randomWord(int length);
    std::string rawField(int width);
    QString textToType(const QString &current, int width);
    void settle();
    void checkAll();
    void checkWindow();
    void checkTrees();
    void compareFields(const QString &where, const std::function<QByteArrayView(int, int)> &field,
                       const SoakModel::Table &expected);
    // Records a mismatch; true when the two agree.
    template<class T>
    bool same(const QString &what, const T &actual, const T &expected)
    {
        if (actual != expected)
            problem(QStringLiteral("%1 is %2, expected %3")
                        .arg(what, QVariant::fromValue(actual).toString(),
                             QVariant::fromValue(expected).toString()));
        return actual == expected;
    }
    void problem(const QString &text)
    {
        if (mProblems.size() < 8)
            mProblems.append(text);
    }
    void note(const QString &text) { mCommand += u' ' + text; }
    int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(mRandom); }
    bool chance(int percent) { return below(100) < percent; }

    WindowFixture mFixture;
    DocumentModel m;
    std::mt19937 mRandom;
    QStringList mProblems;
    QStringList mHistory;
    QString mCommand;
    QStringList mSaveTargets;
};

// A typed text for a report, shortened.
QString quoted(const QString &text);
