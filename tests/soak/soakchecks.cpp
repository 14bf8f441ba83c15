#include "entrytoolbar.h"
#include "entrytree.h"
#include "filetoolbar.h"
#include "soakdriver.h"
#include "tilesetlist.h"

#include <QAction>
#include <QFile>
#include <QMenu>

#include <cstring>

using namespace Qt::StringLiterals;
using namespace SoakModel;

namespace {

QString shown(const std::string &bytes)
{
    QString text;
    for (char c : bytes) {
        const int byte = static_cast<unsigned char>(c);
        text += byte >= 32 && byte < 127 ? QString(QChar(char16_t(byte)))
                                         : u"\\x%1"_s.arg(byte, 2, 16, QChar(u'0'));
    }
    return text;
}

bool sameField(QByteArrayView actual, const Field &expected)
{
    return actual.size() == qsizetype(expected.size()) &&
           std::memcmp(actual.data(), expected.data(), expected.size()) == 0;
}

} // namespace

void SoakDriver::checkAll()
{
    ScriptedServices &services = mFixture.services;
    if (!services.unexpected.isEmpty()) {
        problem(u"asked without a scripted answer: "_s + services.unexpected.join(u"; "_s));
        services.unexpected.clear();
    }
    if (!services.allAnswersUsed())
        problem(u"the window did not ask everything the model expected it to ask"_s);
    checkMessages();
    checkFileDialogs();
    checkDocument();
    checkCommandStates();
    checkTilesetList();
    checkEntryTree();
    checkWrittenFiles();
}

void SoakDriver::checkMessages()
{
    const QList<ScriptedServices::Message> &all = mFixture.services.messages;
    const QList<ScriptedServices::Message> actual = all.mid(mMessagesSeen);
    mMessagesSeen = all.size();
    auto describe = [](const QString &text, const QString &title, int buttons, int icon) {
        return u"[%1 | %2 | buttons %3 | icon %4]"_s.arg(text, title).arg(buttons).arg(icon);
    };
    QStringList got;
    QStringList wanted;
    for (const ScriptedServices::Message &a : actual)
        got.append(describe(a.text, a.title, int(a.buttons), int(a.icon)));
    for (const DocumentModel::Message &e : std::as_const(m.messages))
        wanted.append(describe(e.text, e.title, int(e.buttons), int(e.icon)));
    if (got != wanted)
        problem(u"message boxes %1, expected %2"_s.arg(got.join(u", "_s), wanted.join(u", "_s)));
}

void SoakDriver::checkFileDialogs()
{
    const QList<PlatformServices::FileRequest> &all = mFixture.services.fileRequests;
    const QList<PlatformServices::FileRequest> actual = all.mid(mRequestsSeen);
    mRequestsSeen = all.size();
    if (actual.size() != m.fileDialogs.size()) {
        problem(
            u"%1 file dialogs shown, expected %2"_s.arg(actual.size()).arg(m.fileDialogs.size()));
        return;
    }
    for (qsizetype i = 0; i < actual.size(); ++i) {
        const PlatformServices::FileRequest &a = actual[i];
        const DocumentModel::FileDialog &e = m.fileDialogs[i];
        const bool save = a.mode == PlatformServices::FileRequest::Save;
        if (a.title != e.title || save != e.save)
            problem(u"file dialog \"%1\", expected \"%2\""_s.arg(a.title, e.title));
        if (e.save && a.folder != e.folder)
            problem(u"Save as starts in \"%1\", expected \"%2\""_s.arg(a.folder, e.folder));
        if (!e.save && a.fileName != u"hmkset.dat"_s)
            problem(u"\"%1\" presets \"%2\""_s.arg(a.title, a.fileName));
    }
}

void SoakDriver::checkDocument()
{
    const Document &d = mFixture.document();
    if (d.hasTilesets() != m.open) {
        problem(m.open ? u"the window holds no document"_s : u"the window holds a document"_s);
    } else if (m.open) {
        if (d.tilesetCount() != m.tilesetCount() || d.entryCount() != m.entryCount()) {
            problem(u"the document has %1 x %2, expected %3 x %4"_s.arg(d.tilesetCount())
                        .arg(d.entryCount())
                        .arg(m.tilesetCount())
                        .arg(m.entryCount()));
        } else {
            int reported = 0;
            for (int t = 0; t < m.tilesetCount() && reported < 3; ++t) {
                if (!sameField(d.TilesetNames(t), m.table.names[t])) {
                    ++reported;
                    problem(u"name %1 is %2, expected %3"_s.arg(t).arg(
                        shown(d.TilesetNames(t).toByteArray().toStdString()),
                        shown(m.table.names[t])));
                }
                for (int j = 0; j < m.entryCount() && reported < 3; ++j) {
                    if (!sameField(d.Entries(j, t), m.table.entries[t][j])) {
                        ++reported;
                        problem(u"entry %1 of tileset %2 is %3, expected %4"_s.arg(j).arg(t).arg(
                            shown(d.Entries(j, t).toByteArray().toStdString()),
                            shown(m.table.entries[t][j])));
                    }
                }
            }
        }
    }
    const QList<std::tuple<QString, QString, QString>> values{
        {u"FilePath"_s, d.FilePath, m.filePath},
        {u"FileTitle"_s, d.FileTitle, m.fileTitle},
        {u"FileFolder"_s, d.FileFolder, m.fileFolder},
        {u"LastOpenedPath"_s, d.LastOpenedPath, m.lastOpenedPath},
    };
    for (const auto &[name, actual, expected] : values) {
        if (actual != expected)
            problem(u"%1 is \"%2\", expected \"%3\""_s.arg(name, actual, expected));
    }
    if (d.ChangesMade != m.changes)
        problem(u"ChangesMade is %1"_s.arg(d.ChangesMade ? u"true"_s : u"false"_s));
}

void SoakDriver::checkCommandStates()
{
    Form1 &window = mFixture.window();
    if (window.windowTitle() != m.title)
        problem(u"the title is \"%1\", expected \"%2\""_s.arg(window.windowTitle(), m.title));
    if (!window.isEnabled())
        problem(u"the main window was left disabled"_s);
    auto action = [&](const QString &name) { return window.findChild<QAction *>(name); };
    for (const QString &name :
         {u"mnufileinfo"_s, u"mnuclose"_s, u"mnusave"_s, u"mnusaveas"_s, u"mnuinsert"_s,
          u"mnudelete"_s, u"mnucopy"_s, u"mnuimport"_s, u"mnugoto"_s, u"mnueditentry"_s}) {
        if (action(name)->isEnabled() != m.open)
            problem(name + (m.open ? u" is disabled"_s : u" is enabled"_s));
    }
    if (window.findChild<QMenu *>(u"mnuedit"_s)->menuAction()->isEnabled() != m.open)
        problem(u"the Edit menu is not enabled exactly while a document is open"_s);
    if (window.Toolbar1->button(3)->isEnabled() != m.open)
        problem(u"the Save button is not enabled exactly while a document is open"_s);
    if (!window.Toolbar1->button(1)->isEnabled() || !window.Toolbar1->button(2)->isEnabled() ||
        !action(u"mnunew"_s)->isEnabled() || !action(u"mnuopen"_s)->isEnabled())
        problem(u"New or Open is disabled"_s);
    for (int i = 1; i <= EntryToolbar::ButtonCount; ++i) {
        if (i != 2 && window.Toolbar2->button(i)->isEnabled() != m.categorised())
            problem(u"Toolbar2 button %1 is %2"_s.arg(i).arg(m.categorised() ? u"disabled"_s
                                                                             : u"enabled"_s));
    }
    const QAction *descriptions = action(u"mnudisplaynames"_s);
    if (!descriptions->isVisible() || descriptions->isEnabled() != m.descEnabled ||
        descriptions->isChecked() != m.descChecked)
        problem(u"Show descriptions is visible %1, enabled %2, checked %3"_s
                    .arg(descriptions->isVisible())
                    .arg(descriptions->isEnabled())
                    .arg(descriptions->isChecked()));
    if (window.NewList1->isHidden() == m.treesShown || window.NewList2->isHidden() == m.treesShown)
        problem(m.treesShown ? u"a tree is hidden"_s : u"a tree is shown"_s);
}

void SoakDriver::checkTilesetList()
{
    const TilesetList *list = mFixture.window().NewList1;
    const int count = int(m.tilesetLabels.size());
    if (list->nodeCount() != count) {
        problem(u"the tileset list has %1 nodes, expected %2"_s.arg(list->nodeCount()).arg(count));
        return;
    }
    int reported = 0;
    for (int t = 0; t < count && reported < 3; ++t) {
        const QTreeWidgetItem *item = list->node(t + 1);
        if (item->text(0) != m.tilesetLabels[t]) {
            ++reported;
            problem(u"tileset node %1 reads \"%2\", expected \"%3\""_s.arg(t + 1).arg(
                item->text(0), m.tilesetLabels[t]));
        }
        const int parent = t >= 1 && t <= 49 ? 1 : t >= 51 ? 51 : 0;
        if (list->nodeIndex(item->parent()) != parent)
            problem(u"tileset node %1 is not below node %2"_s.arg(t + 1).arg(parent));
    }
    if (list->selectedTileset() != m.selectedTileset)
        problem(u"tileset %1 is selected, expected %2"_s.arg(list->selectedTileset())
                    .arg(m.selectedTileset));
    if (count >= 2 && list->node(1)->isExpanded() != m.firstGroupOpen)
        problem(u"the first group is %1"_s.arg(m.firstGroupOpen ? u"closed"_s : u"open"_s));
    if (count >= 52 && list->node(51)->isExpanded() != m.secondGroupOpen)
        problem(u"the second group is %1"_s.arg(m.secondGroupOpen ? u"closed"_s : u"open"_s));
}

void SoakDriver::checkEntryTree()
{
    const EntryTree *tree = mFixture.window().NewList2;
    const int count = int(m.nodes.size());
    if (tree->nodeCount() != count) {
        problem(u"the entry tree has %1 nodes, expected %2"_s.arg(tree->nodeCount()).arg(count));
        return;
    }
    int reported = 0;
    for (int n = 1; n <= count && reported < 3; ++n) {
        const DocumentModel::Node &expected = m.nodes[n - 1];
        const QTreeWidgetItem *item = tree->node(n);
        if (tree->NodeEntry(n) != expected.entry ||
            tree->nodeIndex(item->parent()) != expected.parent) {
            ++reported;
            problem(
                u"entry tree node %1 holds entry %2 below node %3, expected %4 below %5"_s.arg(n)
                    .arg(tree->NodeEntry(n))
                    .arg(tree->nodeIndex(item->parent()))
                    .arg(expected.entry)
                    .arg(expected.parent));
            continue;
        }
        const QString label = expected.entry < 0 ? expected.text : m.entryLabels[expected.entry];
        if (expected.entry >= 0 && tree->EntryNode(expected.entry) != n) {
            ++reported;
            problem(u"EntryNode(%1) is %2, expected %3"_s.arg(expected.entry)
                        .arg(tree->EntryNode(expected.entry))
                        .arg(n));
        }
        if (item->text(0) != label) {
            ++reported;
            problem(u"entry tree node %1 reads \"%2\", expected \"%3\""_s.arg(n).arg(item->text(0),
                                                                                     label));
        }
        if (expected.entry < 0 && item->isExpanded() != expected.expanded) {
            ++reported;
            problem(u"category node %1 is %2"_s.arg(n).arg(expected.expanded ? u"closed"_s
                                                                             : u"open"_s));
        }
    }
    if (tree->selectedNodeIndex() != m.selectedNode)
        problem(u"entry tree node %1 is selected, expected %2"_s.arg(tree->selectedNodeIndex())
                    .arg(m.selectedNode));
    if (tree->SelectedEntryNode != m.rememberedNode)
        problem(u"SelectedEntryNode is %1, expected %2"_s.arg(tree->SelectedEntryNode)
                    .arg(m.rememberedNode));
}

void SoakDriver::checkWrittenFiles()
{
    for (const auto &[path, table] : m.written) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            problem(u"cannot read back "_s + path);
            continue;
        }
        const QByteArray bytes = file.readAll();
        // Read back field by field, without the program's reader.
        const int tilesets = table.tilesetCount();
        const int entries = table.entryCount;
        const qint64 length = 5 + qint64(tilesets) * (NameBytes + qint64(EntryBytes) * entries);
        if (bytes.size() != length || static_cast<unsigned char>(bytes[0]) != tilesets ||
            static_cast<unsigned char>(bytes[1]) != entries ||
            bytes.mid(2, 3) != QByteArray(3, '\0')) {
            problem(u"%1 has %2 bytes and header %3, expected %4 bytes for %5 x %6"_s.arg(path)
                        .arg(bytes.size())
                        .arg(QString::fromLatin1(bytes.left(5).toHex(' ')))
                        .arg(length)
                        .arg(tilesets)
                        .arg(entries));
            continue;
        }
        const char *at = bytes.constData() + 5;
        int reported = 0;
        for (int t = 0; t < tilesets && reported < 3; ++t) {
            if (!sameField(QByteArrayView(at, NameBytes), table.names[t])) {
                ++reported;
                problem(u"%1: name %2 written as %3"_s.arg(path).arg(t).arg(
                    shown(std::string(at, NameBytes))));
            }
            at += NameBytes;
            for (int j = 0; j < entries; ++j, at += EntryBytes) {
                if (reported < 3 &&
                    !sameField(QByteArrayView(at, EntryBytes), table.entries[t][j])) {
                    ++reported;
                    problem(
                        u"%1: entry %2 of tileset %3 written as %4"_s.arg(path).arg(j).arg(t).arg(
                            shown(std::string(at, EntryBytes))));
                }
            }
        }
        if (bytes != m.disk[path])
            problem(path + u" differs from the model's copy"_s);
    }
}
