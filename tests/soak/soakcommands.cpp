#include "entrytoolbar.h"
#include "entrytree.h"
#include "filetoolbar.h"
#include "newfiledialog.h"
#include "selecttilesetdialog.h"
#include "soakdriver.h"
#include "tilesetlist.h"
#include "widgets.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace SoakModel;
using Answer = PlatformServices::Answer;

// The random commands, the answers they script and what the model expects of them.

namespace {

// A count typed into the New file dialog and the tilesets it makes (0: Ok stays disabled);
// the last four make large files and are picked rarely.
const QList<std::pair<QString, int>> TypedCounts{
    {u"1"_s, 1},    {u"2"_s, 2},   {u"3"_s, 3},     {u"7"_s, 7},     {u"12"_s, 12},  {u"49"_s, 49},
    {u"50"_s, 50},  {u"51"_s, 51}, {u"52"_s, 52},   {u"60"_s, 60},   {u"2.5"_s, 3},  {u"1.5"_s, 1},
    {u".5"_s, 1},   {u" 9"_s, 9},  {u"0"_s, 0},     {u"256"_s, 0},   {u"-5"_s, 0},   {u"abc"_s, 0},
    {QString(), 0}, {u"99"_s, 99}, {u"101"_s, 101}, {u"254"_s, 254}, {u"255"_s, 255}};

// An answer to "Go to entry" and its value as a number (NaN: none).
constexpr double None = std::numeric_limits<double>::quiet_NaN();
const QList<std::pair<QString, double>> GoToAnswers{
    {u"-1"_s, -1},       {u"2.5"_s, 2.5}, {u"3.5"_s, 3.5},  {u"0.5"_s, 0.5},   {u"149.5"_s, 149.5},
    {u"150.5"_s, 150.5}, {u" 7 "_s, 7},   {u"abc"_s, None}, {QString(), None}, {u"1e1"_s, 10},
    {u"12abc"_s, None},  {u"151"_s, 151}, {u"150"_s, 150}};

QPoint centreOf(QTreeWidget *tree, QTreeWidgetItem *item)
{
    tree->scrollToItem(item);
    return tree->visualItemRect(item).center();
}

// As the window system delivers a double-click: a click, then the double-click event.
void doubleClick(QTreeWidget *tree, QTreeWidgetItem *item)
{
    const QPoint at = centreOf(tree, item);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, at);
}

// The open label editor; a closed one is hidden at once and deleted later.
QLineEdit *editor(QTreeWidget *tree)
{
    for (QLineEdit *line : tree->viewport()->findChildren<QLineEdit *>()) {
        if (line->isVisible())
            return line;
    }
    return nullptr;
}

} // namespace

bool SoakDriver::step(int index, QString *report)
{
    // How often, whether it can be chosen now, the menu item it ends with (if any) and the
    // Toolbar1 button that does the same, and the model's part, which scripts the answers.
    struct Command
    {
        int weight;
        bool available;
        QString action;
        int button;
        std::function<void()> expect;
    };
    const Command commands[] = {
        {5, true, u"mnunew"_s, 1, [this] { newFile(); }},
        {7, true, u"mnuopen"_s, 2,
         [this] {
             if (answerSavePrompt(u"Save changes before opening another file?"_s))
                 m.openPath(chooseFile(u"Open hmkset.dat"_s, false));
         }},
        {3, m.open, u"mnuclose"_s, 0,
         [this] {
             if (answerSavePrompt(u"Save changes before closing file?"_s))
                 m.close();
         }},
        {1, m.changes, QString(), 0,
         [this] {
             note(u"shut down"_s);
             answerSavePrompt(u"Save changes before closing file?"_s, true);
             if (chance(50))
                 run(u"mnuquit"_s);
             else
                 mFixture.close();
         }},
        {4, m.open, u"mnusave"_s, 3, [this] { modelSave(false); }},
        {3, m.open, u"mnusaveas"_s, 0, [this] { modelSave(true); }},
        {4, m.open, u"mnuinsert"_s, 0, [this] { m.insert(); }},
        {4, m.open, u"mnudelete"_s, 0, [this] { m.remove(); }},
        {4, m.open, u"mnucopy"_s, 0, [this] { m.copyFrom(chooseTileset(m.table)); }},
        {5, m.open, u"mnuimport"_s, 0, [this] { importTileset(); }},
        {3, m.descEnabled, u"mnudisplaynames"_s, 0, [this] { m.toggleDescriptions(); }},
        {6, m.open, u"mnugoto"_s, 0,
         [this] {
             auto [text, value] = GoToAnswers[below(int(GoToAnswers.size()))];
             if (chance(50))
                 text = QString::number(value = below(161));
             const bool cancel = chance(8);
             note(cancel ? u"Cancel"_s : quoted(text));
             mFixture.services.type(cancel ? std::nullopt : std::optional(text));
             m.goTo(cancel ? None : value);
         }},
        {9, m.open, QString(), 0, [this] { renameTileset(); }},
        {11, m.open, QString(), 0, [this] { editEntry(); }},
        {9, m.open, QString(), 0, [this] { selectTileset(); }},
        {6, m.open, QString(), 0,
         [this] {
             EntryTree *tree = mFixture.window().entryTree();
             const int node = 1 + below(int(m.nodes.size()));
             note(u"click entry node %1"_s.arg(node));
             m.selectNode(node, true);
             QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                               centreOf(tree, tree->node(node)));
         }},
        {6, m.open, QString(), 0,
         [this] {
             const int button = chance(25) ? 1 : 3 + below(16); // 2 is a separator
             note(u"Toolbar2 button %1"_s.arg(button));
             if (m.categorised() && button == 1)
                 m.expandOrCollapseAll();
             else if (m.categorised())
                 m.openCategory(button - 3);
             mFixture.window().entryToolbar()->button(button)->trigger();
         }},
    };
    std::vector<int> weights;
    for (const Command &c : commands)
        weights.push_back(c.available ? c.weight : 0);
    const Command &chosen =
        commands[std::discrete_distribution<int>(weights.begin(), weights.end())(mRandom)];
    mProblems.clear();
    mCommand = u"#%1 (tileset %2, node %3) %4"_s.arg(index)
                   .arg(m.selectedTileset)
                   .arg(m.selectedNode)
                   .arg(chosen.action);
    chosen.expect();
    if (!chosen.action.isEmpty())
        run(chosen.action, chosen.button);
    settle();
    checkAll();
    mHistory.append(mCommand);
    if (mHistory.size() > 10)
        mHistory.removeFirst();
    if (mProblems.isEmpty())
        return true;
    *report =
        u"step %1: %2\nlast commands (newest last):\n  %3\nagain with HMK_SOAK_STEPS=%1"_s.arg(
            QString::number(index), mProblems.join(u"\n  "_s), mHistory.join(u"\n  "_s));
    return false;
}

void SoakDriver::run(const QString &action, int button)
{
    if (button && chance(30)) {
        note(u"(toolbar)"_s);
        mFixture.window().fileToolbar()->button(button)->trigger();
    } else if (!mFixture.trigger(action)) {
        problem(action + u" was not enabled"_s);
    }
}

bool SoakDriver::answerSavePrompt(const QString &question, bool shutdown)
{
    if (!m.changes)
        return true;
    const int answer = shutdown ? 2 : below(3); // Yes or No would end the run
    mFixture.services.answer(std::array{Answer::Yes, Answer::No, Answer::Cancel}[answer]);
    m.expect(question, u"Changes made"_s, Buttons::YesNoCancel, Icon::Exclamation);
    note(std::array{u"prompt Yes"_s, u"prompt No"_s, u"prompt Cancel"_s}[answer]);
    if (answer == 0)
        modelSave(false);
    return answer != 2;
}

void SoakDriver::modelSave(bool as)
{
    if (!as && m.filePath != u"Untitled"_s) {
        m.saveTo(m.filePath);
        m.changes = false;
    } else {
        m.saveAs(chooseFile(u"Save hmkset.dat"_s, true));
    }
}

QString SoakDriver::chooseFile(const QString &title, bool save)
{
    QStringList choices = save ? mSaveTargets : QStringList(m.folders.begin(), m.folders.end());
    for (auto at = m.disk.begin(); !save && at != m.disk.end(); ++at)
        choices.append(at->first);
    const QString path = chance(15) ? QString() : choices[below(int(choices.size()))];
    mFixture.services.chooseFile(path);
    m.fileDialogs.append(fileDialog(title, save, save ? m.fileFolder : u"hmkset.dat"_s));
    note(path.isEmpty() ? u"Cancel"_s : QFileInfo(path).fileName());
    return path;
}

int SoakDriver::chooseTileset(const Table &from)
{
    QStringList items;
    for (int t = 0; t < from.tilesetCount(); ++t)
        items.append(tilesetNumber(t) + u". "_s + fromCodePage(beforeNul(from.names[t])));
    const int choice = chance(20) ? -1 : below(from.tilesetCount());
    note(u"tileset %1"_s.arg(choice));
    mFixture.services.onDialog([this, items, choice](QDialog &dialog) {
        auto *form = qobject_cast<SelectTilesetDialog *>(&dialog);
        if (!same(u"the dialog"_s, dialog.windowTitle(), u"Select tileset"_s) || !form)
            return;
        QStringList shown;
        for (int i = 0; i < child<QComboBox>(form, u"Combo1"_s)->count(); ++i)
            shown.append(child<QComboBox>(form, u"Combo1"_s)->itemText(i));
        const auto at = std::mismatch(shown.begin(), shown.end(), items.begin(), items.end());
        same(u"Select tileset's item %1"_s.arg(at.first - shown.begin()),
             at.first == shown.end() ? QString() : *at.first,
             at.second == items.end() ? QString() : *at.second);
        same(u"the item on show"_s, child<QComboBox>(form, u"Combo1"_s)->currentIndex(), 0);
        child<QComboBox>(form, u"Combo1"_s)->setCurrentIndex(std::max(choice, 0));
        (choice >= 0 ? child<QPushButton>(form, u"Command1"_s)
                     : child<QPushButton>(form, u"Command2"_s))
            ->click();
    });
    return choice;
}

void SoakDriver::newFile()
{
    // 0-1 Cancel, 2-4 the Veldrune preset, 5 the Harrowmark preset, 6-9 a typed count
    const int kind = below(10);
    const auto &[typed, counted] = TypedCounts[chance(5) ? 19 + below(4) : below(19)];
    const int tilesets = kind < 2 ? 0 : kind < 5 ? 70 : kind < 6 ? 50 : counted;
    note(kind < 2 ? u"Cancel"_s : kind < 6 ? QString::number(tilesets) : quoted(typed));
    mFixture.services.onDialog([this, kind, typed = typed, tilesets](QDialog &dialog) {
        auto *form = qobject_cast<NewFileDialog *>(&dialog);
        if (!same(u"the dialog"_s, dialog.windowTitle(), u"New file"_s) || !form)
            return;
        if (kind >= 2)
            (kind < 5   ? child<QRadioButton>(form, u"Option2"_s)
             : kind < 6 ? child<QRadioButton>(form, u"Option1"_s)
                        : child<QRadioButton>(form, u"Option3"_s))
                ->click();
        if (kind >= 6)
            textBox(form, 0)->setText(typed);
        if (kind >= 2)
            same(u"Ok enabled"_s, child<QPushButton>(form, u"Command1"_s)->isEnabled(),
                 tilesets > 0);
        (tilesets > 0 ? child<QPushButton>(form, u"Command1"_s)
                      : child<QPushButton>(form, u"Command2"_s))
            ->click();
    });
    if (tilesets > 0)
        m.newFile(tilesets);
}

void SoakDriver::importTileset()
{
    const bool goOn = !chance(15);
    note(goOn ? u"Ok"_s : u"Cancel"_s);
    mFixture.services.answer(goOn ? Answer::Ok : Answer::Cancel);
    m.expect(u"The currently selected tileset will be overwritten. Continue?"_s, u"Changes made"_s,
             Buttons::OkCancel, Icon::Question);
    if (goOn)
        m.importFrom(chooseFile(u"Import from other file"_s, false),
                     [this](const Table &from) { return chooseTileset(from); });
}

std::optional<QString> SoakDriver::typeLabel(QTreeWidget *tree, const QString &offered, int width)
{
    QLineEdit *line = editor(tree);
    if (!same(u"a label editor open"_s, line != nullptr, true))
        return std::nullopt;
    same(u"the text offered to edit"_s, line->text(), offered);
    const QString typed = textToType(line->text(), width);
    const bool commit = chance(80);
    note(quoted(typed) + (commit ? u" Return"_s : u" Escape"_s));
    line->setText(typed);
    QTest::keyClick(line, commit ? Qt::Key_Return : Qt::Key_Escape);
    for (int i = 0; i < 50 && editor(tree); ++i)
        settle();
    same(u"the label editor closed"_s, editor(tree) == nullptr, true);
    return commit ? std::optional(typed) : std::nullopt;
}

void SoakDriver::renameTileset()
{
    TilesetList *list = mFixture.window().tilesetList();
    const int t = chance(40) ? below(m.tilesetCount()) : m.selectedTileset;
    note(u"rename: double-click tileset %1"_s.arg(t));
    m.doubleClickTileset(t);
    doubleClick(list, list->node(t + 1));
    if (const std::optional<QString> typed = typeLabel(list, m.bareName(t), NameBytes))
        m.rename(t, *typed);
}

void SoakDriver::editEntry()
{
    MainWindow &window = mFixture.window();
    EntryTree *tree = window.entryTree();
    const int how = below(4); // the menu, F2, a double-click on any node or on the selected one
    if (how == 0) {
        note(u"edit entry:"_s);
        run(u"mnueditentry"_s);
    } else if (how == 1) {
        note(u"edit entry: F2"_s);
        window.activateWindow(); // the shortcut only reaches an active window
        settle();
        QTest::keyClick(tree, Qt::Key_F2);
    } else {
        const int node = how == 2 ? 1 + below(int(m.nodes.size())) : m.selectedNode;
        note(u"edit entry: double-click node %1"_s.arg(node));
        m.doubleClickNode(node);
        doubleClick(tree, tree->node(node));
    }
    if (m.selectedEntry() < 0) { // a category has nothing to edit
        if (!same(u"a label editor on a category"_s, editor(tree) != nullptr, false))
            QTest::keyClick(editor(tree), Qt::Key_Escape);
    } else if (const auto typed = typeLabel(tree, m.bareEntry(m.selectedEntry()), EntryBytes)) {
        m.editEntry(m.selectedEntry(), *typed);
    }
}

void SoakDriver::selectTileset()
{
    TilesetList *list = mFixture.window().tilesetList();
    // A click, or Up, Down, Home or End among the tilesets in view.
    const int key = chance(60) ? -1 : below(4);
    std::vector<int> shown;
    for (int t = 0; t < m.tilesetCount(); ++t) {
        if (key < 0 || DocumentModel::groupHead(t) < 0 ||
            m.groupOpen[DocumentModel::groupHead(t) / 50])
            shown.push_back(t);
    }
    const int last = int(shown.size()) - 1;
    const int at = int(std::find(shown.begin(), shown.end(), m.selectedTileset) - shown.begin());
    if (!same(u"the selected tileset in view"_s, at <= last, true))
        return;
    const int target =
        shown[key < 0 ? below(last + 1)
                      : std::array{std::max(at - 1, 0), std::min(at + 1, last), 0, last}[key]];
    note(u"select tileset %1 with key %2"_s.arg(target).arg(key));
    m.selectTileset(target);
    m.refresh();
    if (key < 0)
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          centreOf(list, list->node(target + 1)));
    else
        QTest::keyClick(list, std::array{Qt::Key_Up, Qt::Key_Down, Qt::Key_Home, Qt::Key_End}[key]);
}
