#include "soakdriver.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTest>
#include <QTreeWidget>

using namespace Qt::StringLiterals;
using namespace SoakModel;

namespace {

struct Command
{
    int weight;
    void (SoakDriver::*run)();
    bool needsDocument;
    const char *name;
};

// Lines of desc.txt: a few descriptions, an empty one among them, one byte above 0x7F.
const QList<QByteArray> DescriptionLines{"Grass", "",     "Dirt road", "Mud \xe9", "Sand",
                                         "",      "Snow", "Moss",      "Ash",      "Clay"};

} // namespace

SoakDriver::SoakDriver(quint32 seed)
    : mRandom(seed)
    , mSeed(seed)
{}

QString SoakDriver::writeTestFile(const QString &name, const QByteArray &bytes)
{
    const QString path = mFixture.folderPath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    m.disk[path] = bytes;
    return path;
}

bool SoakDriver::start(QString *error)
{
    // desc.txt has to be there before start-up, or the descriptions item is hidden.
    QByteArray desc;
    for (const QByteArray &line : DescriptionLines) {
        desc += line + "\r\n";
        m.descriptions.append(fromCodePage(line.toStdString()));
    }
    while (m.descriptions.size() < CategorisedEntries)
        m.descriptions.append(QString());
    QFile descFile(mFixture.folderPath(u"desc.txt"_s));
    if (!descFile.open(QIODevice::WriteOnly) || descFile.write(desc) != desc.size()) {
        *error = u"cannot write desc.txt"_s;
        return false;
    }
    descFile.close();

    const QList<std::tuple<QString, int, int>> sizes{
        {u"t1.dat"_s, 1, 151},    {u"t2.dat"_s, 2, 151},    {u"t51.dat"_s, 51, 151},
        {u"t70.dat"_s, 70, 151},  {u"t5.dat"_s, 5, 151},    {u"flat3.dat"_s, 4, 3},
        {u"flat7.dat"_s, 2, 7},   {u"flat10.dat"_s, 3, 10}, {u"flat170.dat"_s, 2, 170},
        {u"flat3b.dat"_s, 60, 3},
    };
    for (const auto &[name, tilesets, entries] : sizes)
        mOpenFiles.append(writeTestFile(name, tableBytes(randomTable(tilesets, entries))));
    // Shorter than the product of its counts, and a header without tilesets.
    mOpenFiles.append(writeTestFile(u"damaged.dat"_s, headerBytes(10, 10) + QByteArray(45, 'x')));
    mOpenFiles.append(writeTestFile(u"zero.dat"_s, headerBytes(0, 151) + QByteArray(200, 'y')));
    // A folder under a file's name: it can be neither read nor written.
    const QString folder = mFixture.folderPath(u"folder.dat"_s);
    if (!QDir(mFixture.folder()).mkdir(u"folder.dat"_s)) {
        *error = u"cannot make folder.dat"_s;
        return false;
    }
    m.folders.insert(folder);
    mOpenFiles.append(folder);
    mSaveTargets = {mFixture.folderPath(u"out1.dat"_s), mFixture.folderPath(u"out2.dat"_s), folder};

    Form1 &window = mFixture.start();
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) {
        *error = u"window not exposed"_s;
        return false;
    }
    settle();
    mMessagesSeen = mFixture.services.messages.size();
    mRequestsSeen = mFixture.services.fileRequests.size();
    m.beginStep();
    checkAll();
    if (!mProblems.isEmpty()) {
        *error = u"after start-up: "_s + mProblems.join(u"; "_s);
        return false;
    }
    return true;
}

bool SoakDriver::step(int index, QString *report)
{
    static const Command commands[] = {
        {5, &SoakDriver::newFile, false, "new"},
        {7, &SoakDriver::openFile, false, "open"},
        {3, &SoakDriver::closeFile, true, "close"},
        {4, &SoakDriver::save, true, "save"},
        {3, &SoakDriver::saveAs, true, "save-as"},
        {9, &SoakDriver::renameTileset, true, "rename"},
        {11, &SoakDriver::editEntry, true, "edit"},
        {4, &SoakDriver::insertTileset, true, "insert"},
        {4, &SoakDriver::deleteTileset, true, "delete"},
        {4, &SoakDriver::copyTileset, true, "copy"},
        {5, &SoakDriver::importTileset, true, "import"},
        {6, &SoakDriver::goToEntry, true, "goto"},
        {6, &SoakDriver::entryToolbar, true, "toolbar2"},
        {9, &SoakDriver::selectTileset, true, "select"},
        {6, &SoakDriver::clickEntry, true, "click-entry"},
        {3, &SoakDriver::toggleDescriptions, false, "descriptions"},
        {2, &SoakDriver::fileInfo, true, "file-info"},
        {1, &SoakDriver::cancelShutdown, false, "shutdown-cancel"},
    };
    // Without a document the commands that need one are only tried now and then, to see
    // that they are disabled.
    int total = 0;
    for (const Command &c : commands)
        total += m.open || !c.needsDocument ? c.weight : 1;
    int roll = below(total);
    const Command *chosen = &commands[0];
    for (const Command &c : commands) {
        roll -= m.open || !c.needsDocument ? c.weight : 1;
        if (roll < 0) {
            chosen = &c;
            break;
        }
    }

    ++mCounts[QString::fromLatin1(chosen->name) + (m.open ? QString() : u"(closed)"_s)];
    m.beginStep();
    mProblems.clear();
    mCommand = u"#%1"_s.arg(index);
    (this->*chosen->run)();
    settle();
    for (const DocumentModel::Message &message : std::as_const(m.messages))
        ++mCounts[u"box: "_s + message.text.left(24)];
    checkAll();
    mHistory.append(mCommand);
    if (mHistory.size() > 10)
        mHistory.removeFirst();
    if (mProblems.isEmpty())
        return true;
    *report = u"seed %1, step %2: %3\nlast commands (newest last):\n  %4\n"
              u"again with: HMK_SOAK_SEED=%1 HMK_SOAK_STEPS=%2"_s.arg(mSeed)
                  .arg(index)
                  .arg(mProblems.join(u"\n  "_s), mHistory.join(u"\n  "_s));
    return false;
}

QString SoakDriver::quoted(const QString &text)
{
    return u'"' + (text.size() > 12 ? text.left(12) + u"...(%1)"_s.arg(text.size()) : text) + u'"';
}

void SoakDriver::settle()
{
    // Committed label edits arrive queued, and closed editors are deleted later.
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QStringList SoakDriver::openChoices() const
{
    QStringList choices = mOpenFiles;
    for (const QString &path : mSaveTargets) {
        if (!choices.contains(path) && m.disk.count(path))
            choices.append(path);
    }
    return choices;
}

QString SoakDriver::textToType(const QString &current, int width)
{
    switch (below(12)) {
    case 0:
    case 1:
        note(u"(unchanged)"_s);
        return current;
    case 2:
        return QString();
    case 3:
        return fromCodePage(randomWord(width, true));
    case 4:
        return fromCodePage(randomWord(40, true));
    case 5:
        return fromCodePage(randomWord(width - 1, true));
    default:
        break;
    }
    QString text = fromCodePage(randomWord(1 + below(12), true));
    if (chance(30))
        text.prepend(QString(1 + below(3), u' '));
    if (chance(30))
        text.append(QString(1 + below(3), u' '));
    return text;
}

std::string SoakDriver::randomWord(int length, bool wide)
{
    static const std::string plain = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"
                                     "0123456789 -_.:;!&()'";
    // Bytes the code page shows as letters and signs beyond ASCII.
    static const std::string extra = "\xe9\x80\xdf\x9f\xc4\xf1";
    std::string word;
    for (int i = 0; i < length; ++i) {
        if (wide && chance(6))
            word.push_back(extra[size_t(below(int(extra.size())))]);
        else
            word.push_back(plain[size_t(below(int(plain.size())))]);
    }
    return word;
}

std::string SoakDriver::rawField(int width, bool entry)
{
    const std::string text = randomWord(1 + below(width - 2), true);
    std::string field;
    auto garbage = [&] {
        while (int(field.size()) < width)
            field.push_back(char(below(256)));
    };
    switch (below(entry ? 11 : 10)) {
    case 0:
        return std::string(width, '\0');
    case 1:
        return std::string(width, ' ');
    case 2:
        field = text;
        field.resize(width, '\0');
        return field;
    case 3:
        return storedText(text, width);
    case 4:
        return paddedText(text, width);
    case 5:
        return randomWord(width, true);
    case 6: // leading blanks, then junk after the NUL
        field = std::string(size_t(1 + below(3)), ' ') + text;
        field.resize(std::min<size_t>(field.size(), width - 1));
        field.push_back('\0');
        garbage();
        return field;
    case 7: // first and last byte above 32 with a NUL between them
        field = "Q" + text.substr(0, size_t(width - 3));
        field.push_back('\0');
        garbage();
        field.back() = 'Z';
        return field;
    case 8: // a tab and bytes above 0x7F among the text
        field = text;
        field[size_t(below(int(field.size())))] = '\t';
        field.push_back(char(0x80 + below(128)));
        field.resize(width, '\0');
        return field;
    case 9:
        field = randomWord(width - 1, false);
        field.push_back('\0');
        return field;
    default: // an entry that begins with NUL stays empty, whatever follows
        field.push_back('\0');
        garbage();
        return field;
    }
}

Table SoakDriver::randomTable(int tilesets, int entries)
{
    Table table;
    table.entryCount = entries;
    for (int t = 0; t < tilesets; ++t) {
        table.names.push_back(rawField(NameBytes, false));
        std::vector<Field> row;
        for (int j = 0; j < entries; ++j)
            row.push_back(rawField(EntryBytes, true));
        table.entries.push_back(std::move(row));
    }
    return table;
}

QLineEdit *SoakDriver::editor(QTreeWidget *tree) const
{
    // A closed editor is hidden at once and deleted later.
    const QList<QLineEdit *> editors = tree->viewport()->findChildren<QLineEdit *>();
    for (QLineEdit *e : editors) {
        if (e->isVisible())
            return e;
    }
    return nullptr;
}

bool SoakDriver::finishEdit(QTreeWidget *tree, QLineEdit *line, const QString &text)
{
    const bool commit = chance(80);
    line->setText(text);
    QTest::keyClick(line, commit ? Qt::Key_Return : Qt::Key_Escape);
    for (int i = 0; i < 50 && editor(tree); ++i)
        settle();
    if (editor(tree))
        problem(u"the label editor did not close"_s);
    note(commit ? u"Return"_s : u"Escape"_s);
    return commit;
}

void SoakDriver::chooseFile(const QString &path, const QString &title, bool save)
{
    mFixture.services.chooseFile(path);
    m.fileDialogs.append({title, save, m.fileFolder});
    note(title + u" -> "_s +
         (path.isEmpty() ? u"Cancel"_s : QDir(mFixture.folder()).relativeFilePath(path)));
}

bool SoakDriver::answerSavePrompt(const QString &question)
{
    using Answer = PlatformServices::Answer;
    const Answer answer = std::array{Answer::Yes, Answer::No, Answer::Cancel}[size_t(below(3))];
    mFixture.services.answer(answer);
    m.expect(question, u"Changes made"_s, DocumentModel::Buttons::YesNoCancel,
             DocumentModel::Icon::Exclamation);
    note(answer == Answer::Yes  ? u"prompt Yes"_s
         : answer == Answer::No ? u"prompt No"_s
                                : u"prompt Cancel"_s);
    if (answer == Answer::Yes)
        modelSave();
    return answer != Answer::Cancel;
}

void SoakDriver::modelSave()
{
    if (m.filePath == u"Untitled"_s) {
        modelSaveAs();
        return;
    }
    m.saveTo(m.filePath);
    m.changes = false;
}

void SoakDriver::modelSaveAs()
{
    const QString path = chance(20) ? QString() : mSaveTargets[below(int(mSaveTargets.size()))];
    chooseFile(path, u"Save hmkset.dat"_s, true);
    if (!path.isEmpty())
        m.saveAs(path);
}

bool SoakDriver::requireDocument(const QString &action)
{
    if (m.open)
        return true;
    note(u"(no document)"_s);
    if (mFixture.trigger(action))
        problem(action + u" could be chosen without a document"_s);
    return false;
}

void SoakDriver::trigger(const QString &action)
{
    if (!mFixture.trigger(action))
        problem(action + u" was not enabled"_s);
}
