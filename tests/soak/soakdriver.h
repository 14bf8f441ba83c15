#pragma once

#include "documentmodel.h"
#include "windowfixture.h"

#include <QStringList>

#include <functional>
#include <map>
#include <optional>
#include <random>

class QDialog;
class QLineEdit;
class QTreeWidget;

// Drives the real main window with seeded random user commands, answering every prompt and
// dialog one way or another, and checks the window against the model after every step.
class SoakDriver
{
public:
    explicit SoakDriver(quint32 seed);

    // Writes the program folder's files, starts the window and shows it.
    bool start(QString *error);
    // One random command and the checks after it; false with a report on a mismatch.
    bool step(int index, QString *report);

    // A typed text for the log, shortened.
    static QString quoted(const QString &text);

    // How often each command ran, with or without a document open.
    const std::map<QString, int> &counts() const { return mCounts; }

private:
    // Commands (soakcommands.cpp)
    void newFile();
    void openFile();
    void closeFile();
    void save();
    void saveAs();
    void renameTileset();
    void editEntry();
    void insertTileset();
    void deleteTileset();
    void copyTileset();
    void importTileset();
    void goToEntry();
    void entryToolbar();
    void selectTileset();
    void clickEntry();
    void toggleDescriptions();
    void fileInfo();
    void cancelShutdown();

    // Prompt and file-dialog answers, modelled in the order the window asks them
    bool answerSavePrompt(const QString &question);
    void modelSave();
    void modelSaveAs();
    void chooseFile(const QString &path, const QString &title, bool save);
    std::function<void(QDialog &)> tilesetChoice(const QStringList &items, int choice);
    bool requireDocument(const QString &action);
    void trigger(const QString &action);
    QLineEdit *editor(QTreeWidget *tree) const;
    // Types into an open label editor, then Return (true) or Escape (false).
    bool finishEdit(QTreeWidget *tree, QLineEdit *line, const QString &text);
    QString textToType(const QString &current, int width);
    void settle();

    // Set-up (soakdriver.cpp)
    SoakModel::Table randomTable(int tilesets, int entries);
    std::string rawField(int width, bool entry);
    std::string randomWord(int length, bool wide);
    QString writeTestFile(const QString &name, const QByteArray &bytes);
    QStringList openChoices() const;

    // Checks (soakchecks.cpp)
    void checkAll();
    void checkMessages();
    void checkFileDialogs();
    void checkDocument();
    void checkCommandStates();
    void checkTilesetList();
    void checkEntryTree();
    void checkWrittenFiles();
    void problem(const QString &text) { mProblems.append(text); }
    void note(const QString &text) { mCommand += u' ' + text; }

    int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(mRandom); }
    bool chance(int percent) { return below(100) < percent; }

    WindowFixture mFixture;
    DocumentModel m;
    std::mt19937 mRandom;
    quint32 mSeed;
    QStringList mProblems;
    QStringList mHistory;
    QString mCommand;
    qsizetype mMessagesSeen = 0;
    qsizetype mRequestsSeen = 0;
    QStringList mOpenFiles;
    QStringList mSaveTargets;
    std::map<QString, int> mCounts;
};
