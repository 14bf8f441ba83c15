#include "entrytoolbar.h"
#include "entrytree.h"
#include "soakdriver.h"
#include "tilesetlist.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace SoakModel;

// Commands in the two trees: renaming, editing, selecting and navigating.

namespace {

// An answer to "Go to entry" and its numeric value, when it has one.
struct GoToAnswer
{
    std::optional<QString> text;
    std::optional<double> value;
};

const QList<GoToAnswer> GoToAnswers{
    {u"-1"_s, -1.0},           {u"2.5"_s, 2.5},
    {u"3.5"_s, 3.5},           {u"0.5"_s, 0.5},
    {u"149.5"_s, 149.5},       {u"150.5"_s, 150.5},
    {u" 7 "_s, 7.0},           {u"abc"_s, std::nullopt},
    {QString(), std::nullopt}, {u"12abc"_s, std::nullopt},
    {u"1e1"_s, 10.0},          {std::nullopt, std::nullopt},
    {u"151"_s, 151.0},         {u"150"_s, 150.0},
};

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

} // namespace

void SoakDriver::renameTileset()
{
    TilesetList *list = mFixture.window().NewList1;
    note(u"Rename"_s);
    if (!m.open) {
        note(u"(no document)"_s);
        // The empty list is still on screen until a Close hides it.
        if (m.treesShown)
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {},
                               list->viewport()->rect().center());
        if (editor(list))
            problem(u"a label editor opened without a document"_s);
        return;
    }
    const int t = chance(40) ? below(m.tilesetCount()) : m.selectedTileset;
    note(u"double-click %1"_s.arg(t));
    m.doubleClickTileset(t);
    doubleClick(list, list->node(t + 1));
    QLineEdit *line = editor(list);
    if (!line) {
        problem(u"no label editor opened on tileset %1"_s.arg(t));
        return;
    }
    if (line->text() != m.bareName(t))
        problem(u"the editor offers %1, expected %2"_s.arg(quoted(line->text()),
                                                           quoted(m.bareName(t))));
    const QString typed = textToType(line->text(), NameBytes);
    note(quoted(typed));
    if (finishEdit(list, line, typed)) {
        m.rename(t, typed);
        // The editor passes Return on to the tileset list, whose key events relabel the
        // entry tree.
        m.refresh();
    }
}

void SoakDriver::editEntry()
{
    Form1 &window = mFixture.window();
    EntryTree *tree = window.NewList2;
    note(u"Edit entry"_s);
    if (!requireDocument(u"mnueditentry"_s))
        return;
    switch (below(4)) {
    case 0:
        note(u"menu"_s);
        trigger(u"mnueditentry"_s);
        break;
    case 1:
        // The shortcut only reaches an active window.
        if (QApplication::activeWindow() != &window) {
            window.activateWindow();
            settle();
        }
        if (QApplication::activeWindow() == &window) {
            note(u"F2"_s);
            ++mCounts[u"edit:F2"_s];
            QTest::keyClick(tree, Qt::Key_F2);
        } else {
            note(u"menu (window not active)"_s);
            ++mCounts[u"edit:F2-not-active"_s];
            trigger(u"mnueditentry"_s);
        }
        break;
    case 2: {
        const int node = 1 + below(int(m.nodes.size()));
        note(u"double-click node %1"_s.arg(node));
        m.doubleClickNode(node);
        doubleClick(tree, tree->node(node));
        break;
    }
    default: {
        const int node = m.selectedNode;
        note(u"double-click the selected node %1"_s.arg(node));
        m.doubleClickNode(node);
        doubleClick(tree, tree->node(node));
        break;
    }
    }
    QLineEdit *line = editor(tree);
    if (!m.isEntryNode(m.selectedNode)) {
        if (line) {
            problem(u"a label editor opened on category node %1"_s.arg(m.selectedNode));
            QTest::keyClick(line, Qt::Key_Escape);
        }
        return;
    }
    const int entry = m.nodes[m.selectedNode - 1].entry;
    if (!line) {
        problem(u"no label editor opened on entry %1"_s.arg(entry));
        return;
    }
    if (line->text() != m.bareEntry(entry))
        problem(u"the editor offers %1, expected %2"_s.arg(quoted(line->text()),
                                                           quoted(m.bareEntry(entry))));
    const QString typed = textToType(line->text(), EntryBytes);
    note(u"entry %1 of tileset %2: %3"_s.arg(entry).arg(m.selectedTileset).arg(quoted(typed)));
    if (finishEdit(tree, line, typed))
        m.editEntry(entry, typed);
}

void SoakDriver::goToEntry()
{
    note(u"Go to"_s);
    if (!requireDocument(u"mnugoto"_s))
        return;
    GoToAnswer answer;
    if (chance(50)) {
        const int number = below(161);
        answer = {QString::number(number), double(number)};
    } else {
        answer = GoToAnswers[below(int(GoToAnswers.size()))];
    }
    note(answer.text ? quoted(*answer.text) : u"Cancel"_s);
    mFixture.services.type(answer.text);
    m.goTo(answer.value);
    trigger(u"mnugoto"_s);
}

void SoakDriver::entryToolbar()
{
    const int index = chance(25) ? 1 : 3 + below(16);
    QAction *button = mFixture.window().Toolbar2->button(index);
    note(u"Toolbar2 button %1"_s.arg(index));
    if (m.categorised()) {
        if (index == 1)
            m.expandOrCollapseAll();
        else
            m.openCategory(index - 3);
    } else {
        note(u"(disabled)"_s);
    }
    button->trigger();
}

void SoakDriver::selectTileset()
{
    TilesetList *list = mFixture.window().NewList1;
    note(u"Select tileset"_s);
    if (!m.open) {
        note(u"(no document)"_s);
        return;
    }
    if (chance(60)) {
        const int t = below(m.tilesetCount());
        note(u"click %1"_s.arg(t));
        m.clickTileset(t);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, centreOf(list, list->node(t + 1)));
        return;
    }
    const std::vector<int> shown = m.visibleTilesets();
    const auto at = std::find(shown.begin(), shown.end(), m.selectedTileset);
    if (at == shown.end()) {
        problem(u"the selected tileset %1 is not in view"_s.arg(m.selectedTileset));
        return;
    }
    int position = int(at - shown.begin());
    const int last = int(shown.size()) - 1;
    const Qt::Key key = std::array{Qt::Key_Up, Qt::Key_Down, Qt::Key_Home, Qt::Key_End}[below(4)];
    position = key == Qt::Key_Up     ? std::max(position - 1, 0)
               : key == Qt::Key_Down ? std::min(position + 1, last)
               : key == Qt::Key_Home ? 0
                                     : last;
    note(QKeySequence(key).toString() + u" to %1"_s.arg(shown[position]));
    m.selectTileset(shown[position]);
    m.refresh();
    QTest::keyClick(list, key);
}

void SoakDriver::clickEntry()
{
    EntryTree *tree = mFixture.window().NewList2;
    note(u"Click entry node"_s);
    if (!m.open) {
        note(u"(no document)"_s);
        return;
    }
    const int node = 1 + below(int(m.nodes.size()));
    note(QString::number(node));
    m.clickNode(node);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, centreOf(tree, tree->node(node)));
}
