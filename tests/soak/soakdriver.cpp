#include "soakdriver.h"
#include "entrytoolbar.h"
#include "entrytree.h"
#include "filetoolbar.h"
#include "tilesetfiles.h"
#include "tilesetlist.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QMenu>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace SoakModel;

// Set-up, random data, and the checks after every step.

QString quoted(const QString &text)
{
    return u'"' + (text.size() > 12 ? text.left(12) + u"...(%1)"_s.arg(text.size()) : text) + u'"';
}

QString SoakDriver::start()
{
    // desc.txt has to be there before start-up, or the descriptions item is hidden: a few
    // descriptions, empty ones among them, one byte above 0x7F.
    QByteArray desc;
    for (const char *line :
         {"Grass", "", "Dirt road", "Mud \xe9", "Sand", "", "Snow", "Moss", "Ash", "Clay"}) {
        desc += QByteArray(line) + "\r\n";
        m.descriptions.append(fromCodePage(line));
    }
    mFixture.writeFile(u"desc.txt"_s, desc);
    const auto addFile = [this](const QString &name, const QByteArray &bytes) {
        m.disk[mFixture.writeFile(name, bytes)] = bytes;
    };
    const std::pair<int, int> sizes[] = {{1, 151}, {2, 151}, {51, 151}, {70, 151}, {5, 151},
                                         {4, 3},   {2, 7},   {3, 10},   {2, 170},  {60, 3}};
    for (const auto &[tilesets, entries] : sizes) {
        Table table;
        table.entryCount = entries;
        for (int t = 0; t < tilesets; ++t) {
            table.names.push_back(rawField(NameBytes));
            table.entries.emplace_back();
            for (int j = 0; j < entries; ++j)
                table.entries.back().push_back(rawField(EntryBytes));
        }
        addFile(u"t%1x%2.dat"_s.arg(tilesets).arg(entries), tableBytes(table));
    }
    // Shorter than the product of its counts, and a header without tilesets.
    addFile(u"damaged.dat"_s, headerBytes(10, 10) + QByteArray(45, 'x'));
    addFile(u"zero.dat"_s, headerBytes(0, 151) + QByteArray(200, 'y'));
    // A folder under a file's name: it can be neither read nor written.
    m.folders.insert(mFixture.folderPath(u"folder.dat"_s));
    mSaveTargets = {mFixture.folderPath(u"out1.dat"_s), mFixture.folderPath(u"out2.dat"_s),
                    mFixture.folderPath(u"folder.dat"_s)};
    MainWindow &window = mFixture.start();
    window.show();
    if (!QDir(mFixture.folder()).mkdir(u"folder.dat"_s) || !QTest::qWaitForWindowExposed(&window))
        qFatal("cannot make folder.dat or show the window");
    settle();
    checkAll();
    return mProblems.join(u"; "_s);
}

void SoakDriver::settle()
{
    // Committed label edits arrive queued, and closed editors are deleted later.
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

std::string SoakDriver::randomWord(int length)
{
    static const std::string plain = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"
                                     "0123456789 -_.:;!&()'";
    // Bytes the code page shows as letters and signs beyond ASCII.
    static const std::string extra = "\xe9\x80\xdf\x9f\xc4\xf1";
    std::string word;
    for (int i = 0; i < length; ++i)
        word.push_back(chance(6) ? extra[size_t(below(6))]
                                 : plain[size_t(below(int(plain.size())))]);
    return word;
}

std::string SoakDriver::rawField(int width)
{
    // As other tools leave fields: blanks before the text, a NUL or none after it, then NULs,
    // spaces or junk; now and then a tab inside, or a last byte above 32 after a NUL.
    std::string field(size_t(chance(20) ? 1 + below(3) : 0), ' ');
    field += randomWord(chance(10) ? 0 : chance(20) ? width : 1 + below(width - 1));
    if (chance(60))
        field.push_back('\0');
    const int fill = below(3);
    while (int(field.size()) < width)
        field.push_back(fill == 0 ? '\0' : fill == 1 ? ' ' : char(below(256)));
    field.resize(width);
    if (chance(10))
        field[size_t(below(width))] = '\t';
    if (chance(10))
        field.back() = 'Z';
    return field;
}

QString SoakDriver::textToType(const QString &current, int width)
{
    // The offered text, nothing, about as much as the field holds or far more, or a short
    // word with blanks around it.
    const int kind = below(12);
    if (kind < 2)
        return current;
    if (kind < 6)
        return kind == 2 ? QString()
                         : fromCodePage(randomWord(std::array{width, 40, width - 1}[kind - 3]));
    const QString before(chance(30) ? 1 + below(3) : 0, u' ');
    const QString word = fromCodePage(randomWord(1 + below(12)));
    return before + word + QString(chance(30) ? 1 + below(3) : 0, u' ');
}

// Bytes as a report shows them.
static QString shown(QByteArrayView bytes)
{
    return QString::fromLatin1(bytes.toByteArray().toPercentEncoding(" !&'()*+,.:;=_-"));
}

void SoakDriver::compareFields(const QString &where,
                               const std::function<QByteArrayView(int, int)> &field,
                               const Table &expected)
{
    for (int t = 0; t < expected.tilesetCount(); ++t) {
        for (int j = -1; j < expected.entryCount; ++j) { // -1: the name
            const QByteArrayView wanted(j < 0 ? expected.names[t] : expected.entries[t][j]);
            if (field(t, j) != wanted)
                problem(u"%1: %2 of tileset %3 is %4, expected %5"_s
                            .arg(where, j < 0 ? u"the name"_s : u"entry %1"_s.arg(j))
                            .arg(t)
                            .arg(shown(field(t, j)), shown(wanted)));
        }
    }
}

void SoakDriver::checkAll()
{
    ScriptedServices &services = mFixture.services;
    same(u"what was asked without a scripted answer"_s, services.unexpected.join(u"; "_s),
         QString());
    same(u"every scripted answer used"_s, services.allAnswersUsed(), true);
    QStringList boxes;
    QStringList dialogs;
    for (const ScriptedServices::Message &b : std::as_const(services.messages))
        boxes.append(box(b.text, b.title, b.buttons, b.icon));
    for (const PlatformServices::FileRequest &r : std::as_const(services.fileRequests)) {
        const bool save = r.mode == PlatformServices::FileRequest::Save;
        dialogs.append(fileDialog(r.title, save, save ? r.folder : r.fileName));
    }
    same(u"the message boxes"_s, boxes.join(u", "_s), m.boxes.join(u", "_s));
    same(u"the file dialogs"_s, dialogs.join(u", "_s), m.fileDialogs.join(u", "_s));
    services.unexpected.clear();
    services.messages.clear();
    services.fileRequests.clear();
    m.boxes.clear();
    m.fileDialogs.clear();
    checkWindow();
    checkTrees();
    // Every file saved in this step, read back with the test's own reader.
    for (const auto &[path, table] : m.written) {
        const QByteArray bytes = TestFiles::read(path);
        const std::optional<Table> back = rawTable(bytes);
        if (same(path + u" header"_s, bytes.left(5).toHex(' '),
                 headerBytes(table.tilesetCount(), table.entryCount).toHex(' ')) &&
            same(path + u" as long as its header says"_s, back.has_value(), true))
            compareFields(
                path,
                [&back](int t, int j) {
                    return QByteArrayView(j < 0 ? back->names[t] : back->entries[t][j]);
                },
                table);
    }
    m.written.clear();
}

void SoakDriver::checkWindow()
{
    MainWindow &window = mFixture.window();
    const Document &d = mFixture.document();
    const auto shape = [](bool open, int tilesets, int entries) {
        return open ? u"%1 x %2"_s.arg(tilesets).arg(entries) : u"nothing"_s;
    };
    if (same(u"the document"_s, shape(d.hasTilesets(), d.tilesetCount(), d.entryCount()),
             shape(m.open, m.tilesetCount(), m.table.entryCount)))
        compareFields(
            u"the document"_s,
            [&d](int t, int j) { return j < 0 ? d.tilesetName(t) : d.entry(j, t); }, m.table);
    same(u"FilePath"_s, d.filePath, m.filePath);
    same(u"FileTitle"_s, d.fileTitle, m.fileTitle);
    same(u"FileFolder"_s, d.fileFolder, m.fileFolder);
    same(u"LastOpenedPath"_s, d.lastOpenedPath, m.lastOpenedPath);
    same(u"ChangesMade"_s, d.changesMade, m.changes);
    same(u"the title"_s, window.windowTitle(), m.title);
    same(u"the window shown and enabled"_s, window.isVisible() && window.isEnabled(), true);
    same(u"the Edit menu enabled"_s,
         window.findChild<QMenu *>(u"mnuedit"_s)->menuAction()->isEnabled(), m.open);
    const QAction *descriptions = window.findChild<QAction *>(u"mnudisplaynames"_s);
    same(u"Show descriptions visible"_s, descriptions->isVisible(), true);
    same(u"Show descriptions enabled"_s, descriptions->isEnabled(), m.descEnabled);
    same(u"Show descriptions checked"_s, descriptions->isChecked(), m.descChecked);
    same(u"the tileset list shown"_s, !window.tilesetList()->isHidden(), m.treesShown);
    same(u"the entry tree shown"_s, !window.entryTree()->isHidden(), m.treesShown);
    for (const QString &name : {u"mnunew"_s, u"mnuopen"_s, u"mnufileinfo"_s, u"mnuclose"_s,
                                u"mnusave"_s, u"mnusaveas"_s, u"mnuinsert"_s, u"mnudelete"_s,
                                u"mnucopy"_s, u"mnuimport"_s, u"mnugoto"_s, u"mnueditentry"_s})
        same(name + u" enabled"_s, window.findChild<QAction *>(name)->isEnabled(),
             m.open || name == u"mnunew"_s || name == u"mnuopen"_s);
    for (int i = 1; i <= 3; ++i)
        same(u"Toolbar1 button %1 enabled"_s.arg(i), window.fileToolbar()->button(i)->isEnabled(),
             i < 3 || m.open);
    for (int i = 1; i <= EntryToolbar::ButtonCount; i += i == 1 ? 2 : 1) // 2 is a separator
        same(u"Toolbar2 button %1 enabled"_s.arg(i), window.entryToolbar()->button(i)->isEnabled(),
             m.categorised());
}

void SoakDriver::checkTrees()
{
    const auto at = [](const QString &text, int parent) {
        return u"\"%1\" below node %2"_s.arg(text, QString::number(parent));
    };
    const TilesetList *list = mFixture.window().tilesetList();
    const int count = int(m.tilesetLabels.size());
    for (int t = 0; same(u"the tileset node count"_s, list->nodeCount(), count) && t < count; ++t) {
        same(u"tileset node %1"_s.arg(t + 1),
             at(list->node(t + 1)->text(0), list->nodeIndex(list->node(t + 1)->parent())),
             at(m.tilesetLabels[t], DocumentModel::groupHead(t) + 1));
        if ((t == 0 || t == 50) && count > t + 1)
            same(u"tileset node %1 open"_s.arg(t + 1), list->node(t + 1)->isExpanded(),
                 m.groupOpen[t / 50]);
    }
    same(u"the selected tileset"_s, list->selectedTileset(), m.selectedTileset);

    const EntryTree *tree = mFixture.window().entryTree();
    const int nodes = int(m.nodes.size());
    for (int n = 1; same(u"the entry tree node count"_s, tree->nodeCount(), nodes) && n <= nodes;
         ++n) {
        const DocumentModel::Node &e = m.nodes[n - 1];
        const QTreeWidgetItem *item = tree->node(n);
        same(u"entry tree node %1"_s.arg(n),
             u"entry %1, %2, open %3"_s.arg(QString::number(tree->nodeEntry(n)),
                                            at(item->text(0), tree->nodeIndex(item->parent())),
                                            QString::number(e.entry < 0 && item->isExpanded())),
             u"entry %1, %2, open %3"_s.arg(QString::number(e.entry), at(e.text, e.parent),
                                            QString::number(e.entry < 0 && e.expanded)));
        if (e.entry >= 0)
            same(u"EntryNode(%1)"_s.arg(e.entry), int(tree->entryNode(e.entry)), n);
    }
    same(u"the selected entry node"_s, tree->selectedNodeIndex(), m.selectedNode);
    same(u"SelectedEntryNode"_s, int(tree->selectedEntryNode()), m.rememberedNode);
}
