#include "datatable.h"
#include "fieldclipboard.h"
#include "tilesetfiles.h"

#include <QMimeData>

using namespace Qt::StringLiterals;
using namespace TestFiles;

using Rows = TextRows;

// Fields copied and pasted in the formats spreadsheets read and write.
class TestFieldClipboard : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readFormats_data()
    {
        // clipboard: HTML when it starts with "<", else plain text
        addColumns<QString, Rows>("clipboard", "rows");
        const auto row = [](const char *name, const QString &clipboard, const Rows &rows) {
            QTest::newRow(name) << clipboard << rows;
        };
        const Rows abcd{{u"a"_s, u"b"_s}, {u"c"_s, u"d"_s}};
        row("CR LF, the trailing line end dropped", u"a\tb\r\nc\td\r\n"_s, abcd);
        row("LF, no line end after the last row", u"a\tb\nc\td"_s, abcd);
        row("quoted: tab, line end, quote", u"\"x\ty\"\t\"1\r\n2\"\t\"say \"\"hi\"\"\"\r\n"_s,
            {{u"x\ty"_s, u"1\r\n2"_s, u"say \"hi\""_s}});
        row("a quote left open", u"a\t\"b\tc"_s, {{u"a"_s, u"b\tc"_s}});
        row("a short row filled out", u"a\tb\nc"_s, {{u"a"_s, u"b"_s}, {u"c"_s, u""_s}});
        row("only one line end dropped", u"a\n\n"_s, {{u"a"_s}, {u""_s}});
        row("blanks kept, a quote inside", u"  a \tb\"c\r"_s, {{u"  a "_s, u"b\"c"_s}});
        row("LibreOffice",
            u"<table cellspacing=0 border=0><colgroup width=85></colgroup><tr><td height=17 "
            u"align=left>0012</td><td align=left>a&amp;b</td></tr></table>"_s,
            {{u"0012"_s, u"a&b"_s}});
        row("Google Sheets",
            u"<google-sheets-html-origin><style>td{}</style><table><tbody><tr><td "
            u"data-sheets-value=\"{&quot;1&quot;:2}\">x&nbsp;y</td><td><span>&#233;&#x20AC;"
            u"</span></td></tr><tr><td>&lt;z&gt;</td></tr></tbody></table>"_s,
            {{u"x\u00a0y"_s, u"\u00e9\u20ac"_s}, {u"<z>"_s, u""_s}});
        row("Excel: the source's line ends are formatting",
            u"<table>\r\n <tr>\r\n  <td class=xl65>\r\n  long\r\n  text</td>\r\n  "
            u"<th>a<br>b</th>\r\n </tr>\r\n</table>"_s,
            {{u"long text"_s, u"a\nb"_s}});
    }
    void readFormats()
    {
        QFETCH(QString, clipboard);
        const bool html = clipboard.startsWith(u'<');
        QMimeData data;
        data.setText(html ? u"ignored: a table comes first"_s : clipboard);
        if (html)
            data.setHtml(clipboard);
        QTEST(cellTexts(fieldsFromMimeData(data).value()), "rows");
    }

    // What Copy writes reads back as it was; the editor's own format, byte for byte.
    void writtenFormatsReadBack()
    {
        const Rows rows{{u"a\tb"_s, u"q\""_s, u" 0012 "_s}, {u"l\r\nx"_s, u""_s, u"é€&<"_s}};
        const QString text = toTabSeparated(blockOfTexts(rows));
        QCOMPARE(text, u"\"a\tb\"\t\"q\"\"\"\t 0012 \r\n\"l\r\nx\"\t\té€&<\r\n"_s);
        QCOMPARE(cellTexts(fromTabSeparated(text)), rows);
        QCOMPARE(cellTexts(fromHtmlTable(toHtmlTable(blockOfTexts(rows.mid(0, 1)))).value()),
                 rows.mid(0, 1));

        const TilesetTable table = with(numberedTable(2, 3), 1, 2, QByteArray("a\0b\x01 ", 5));
        const FieldBlock copied = copyFields(table, {0, 0, 2, 4});
        const std::unique_ptr<QMimeData> data = fieldsMimeData(copied);
        data->setText(u"x"_s);
        const std::optional<FieldBlock> pasted = fieldsFromMimeData(*data);
        QCOMPARE(cellTexts(*pasted), cellTexts(copied));
        QVERIFY(!fromFieldBytes(toFieldBytes(copied).chopped(1)));
        // Pasted, a copy's bytes land as they are, the bytes after its NUL included.
        TilesetTable after = table;
        pasteFields(table, {0, 1, 1, 1}, {1, 1, {pasted->cell(1, 3)}}).edit.redo(after);
        QCOMPARE(after.entry(0, 0), table.entry(2, 1));
    }

    // Where the block lands, what it changes, and why it is refused.
    void paste_data()
    {
        // selection: from a tileset and column, rows by columns
        // changed: the fields changed, and of them cut
        addColumns<FieldRect, QString, std::pair<int, int>, QString>("selection", "clipboard",
                                                                     "changed", "refusal");
        const auto row = [](const char *name, FieldRect selection, const QString &clipboard,
                            int changed, int cut = 0, const QString &refusal = {}) {
            QTest::newRow(name) << selection << clipboard << std::pair(changed, cut) << refusal;
        };
        row("one value into many", {0, 1, 3, 2}, u"v"_s, 6);
        row("a block to the last field", {1, 3, 1, 1}, u"a\tb\nc\td\n"_s, 4);
        row("a name", {2, 0, 1, 1}, u"Moss"_s, 1);
        row("past the last tileset", {2, 1, 1, 1}, u"a\nb"_s, 0, 0,
            u"A block of 2 by 1 fields does not fit here: from tileset 02, entry 000 it runs "
            u"past the last tileset."_s);
        row("past the last entry", {0, 4, 2, 2}, u"a\tb"_s, 0, 0,
            u"A block of 1 by 2 fields does not fit here: from tileset 00, entry 003 it runs "
            u"past the last entry."_s);
        row("too long for an entry", {0, 1, 1, 1}, QString(33, u'e'), 1, 1);
        row("a name holds 33", {0, 0, 1, 1}, QString(33, u'n'), 1);
        row("padding blanks fall off", {0, 1, 1, 1}, QString(32, u'e') + u"  "_s, 1);
        row("not in the code page", {0, 1, 1, 1}, u"ok\t\u03a9"_s, 0, 0,
            u"Nothing pasted: the text for tileset 00, entry 001 holds \u201c\u03a9\u201d; a "
            u"tileset file stores Windows-1252 characters only."_s);
        row("a control character", {1, 0, 1, 1}, u"\"a\tb\""_s, 0, 0,
            u"Nothing pasted: the text for the name of tileset 01 holds a control character "
            u"(U+0009); line ends, tabs and NUL cannot be part of a field's text."_s);
        row("the text it shows keeps every byte", {0, 1, 2, 1}, u"0:0\n1:0"_s, 0);
        row("emptied, never written stays", {0, 2, 1, 2}, u"\r\n"_s, 1);
    }
    void paste()
    {
        auto [selection, clipboard] = fetch<FieldRect, QString>("selection", "clipboard");
        TilesetTable table = with(numberedTable(3, 4), 0, 0, QByteArray("0:0\0junk", 8));
        table.setEntry(2, 0, {});
        const TilesetTable before = table;
        QMimeData data;
        data.setText(clipboard);
        const FieldPaste paste = pasteFields(table, selection, fieldsFromMimeData(data).value());
        QTEST(paste.refusal, "refusal");
        QTEST(std::pair(paste.changedFields, paste.cutFields), "changed");
        paste.edit.redo(table);
        const auto fields = [](const TilesetTable &t) { return copyFields(t, {0, 0, 3, 5}).cells; };
        int differing = 0;
        for (qsizetype i = 0; i < 15; ++i)
            differing += fields(table)[i].bytes != fields(before)[i].bytes;
        QCOMPARE(differing, paste.changedFields);
        paste.edit.undo(table);
        QVERIFY(table == before);
    }
};

QTEST_GUILESS_MAIN(TestFieldClipboard)
#include "tst_fieldclipboard.moc"
