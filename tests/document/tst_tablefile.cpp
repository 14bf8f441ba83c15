#include "datatable.h"
#include "tablefile.h"
#include "tilesetfiles.h"

#include <QTemporaryDir>

#include <xlsxwriter.h>

using namespace Qt::StringLiterals;
using namespace TestFiles;

// Tables for spreadsheets: out in three formats and back as a patch.
class TestTableFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Texts spreadsheets would convert, and every shape of field, out and back byte for byte;
    // then one changed cell changes one field.
    // quoted: a name "a,b" and an entry "q"t<tab>x" written out (a workbook's are not compared)
    void roundTrip_data()
    {
        addColumns<QString, QByteArray>("suffix", "quoted");
        const QByteArray marked = "\xEF\xBB\xBFTileset"; // a byte-order mark, then the header
        QTest::newRow("csv") << u"csv"_s << marked + ",Name,000\r\n00,\"a,b\",\"q\"\"t\tx\"\r\n";
        QTest::newRow("tsv") << u"tsv"_s << marked + "\tName\t000\r\n00\ta,b\t\"q\"\"t\tx\"\r\n";
        QTest::newRow("xlsx") << u"xlsx"_s << QByteArray();
    }
    void roundTrip()
    {
        TilesetTable table = numberedTable(255, 255);
        QList<QByteArray> hard = QByteArray("0012|1-2|=SUM(A1)|+x|-x|@x| both |say \"hi\"|a,b|"
                                            "tab\there|line\r\nend|\xe9\x80")
                                     .split('|');
        hard << QByteArray("ab\0junk", 7) << "_x0041_"; // the text above would end at a NUL
        for (int k = 0; k < hard.size(); ++k)
            table.setEntry(k * 37 % 255, 254 - k, storeFixedText(hard[k], EntryWidth));
        table.setEntry(254, 0, padFixedText("pad", EntryWidth));
        table.setEntry(253, 0, QByteArray(EntryWidth, '\0'));
        table.setTilesetName(254, QByteArray(NameWidth, 'n'));
        table.setTilesetName(253, storeFixedText("  padded  ", NameWidth));
        QFETCH(QString, suffix);
        const TableFormat format = *tableFormatOf(u"T."_s + suffix.toUpper());
        QString error;
        const TextRows quoting =
            tableRows(with(with(numberedTable(1, 1), 0, -1, "a,b"), 0, 0, "q\"t\tx"));
        if (format != TableFormat::Xlsx)
            QTEST(tableFileBytes(quoting, format, &error).value(), "quoted");
        const auto roundTrip = [&](const TextRows &rows) {
            const std::optional<TextRows> read =
                rowsFromTableFile(tableFileBytes(rows, format, &error).value(), format, &error);
            return read ? importTable(table, *read) : TableImport{{}, 0, 0, error};
        };
        TextRows rows = tableRows(table);
        const TableImport same = roundTrip(rows);
        QCOMPARE(std::pair(same.refusal, same.changedFields), std::pair(QString(), 0));
        QVERIFY(same.edit.isEmpty());
        rows[255][200] = u"changed"_s;
        const TableImport one = roundTrip(rows);
        TilesetTable after = table;
        one.edit.redo(after);
        QVERIFY(one.changedFields == 1 && after == with(table, 254, 198, "changed"));
        rows.append({u"255"_s, u"x"_s}); // one past the most a file holds
        QVERIFY(roundTrip(rows).refusal.startsWith(u"Row 257, column A: there is no tileset 255"));
        rows.removeLast();
        rows[1][25] = QString(33, u'x'); // entry 023, the 26th column
        QVERIFY(roundTrip(rows).refusal.startsWith(u"Row 2, column Z: the text has 33"_s));
    }

    // Another program's workbook: its first sheet, a cell of several runs whole, a number.
    void workbookOfTwoSheets()
    {
        QTemporaryDir folder;
        const QByteArray path = QFile::encodeName(folder.filePath(u"w.xlsx"_s));
        lxw_workbook *book = workbook_new(path.constData());
        lxw_worksheet *first = workbook_add_worksheet(book, nullptr);
        lxw_format *bold = workbook_add_format(book);
        format_set_bold(bold);
        lxw_rich_string_tuple plain{nullptr, const_cast<char *>("Mo")};
        lxw_rich_string_tuple strong{bold, const_cast<char *>("ss")};
        lxw_rich_string_tuple *runs[] = {&plain, &strong, nullptr};
        worksheet_write_string(first, 0, 0, "Tileset", nullptr);
        worksheet_write_number(first, 1, 0, 1, nullptr);
        worksheet_write_rich_string(first, 1, 2, runs, nullptr);
        worksheet_write_string(workbook_add_worksheet(book, nullptr), 0, 0, "Notes", nullptr);
        QCOMPARE(workbook_close(book), LXW_NO_ERROR);
        QString error;
        QCOMPARE(readTableFile(QFile::decodeName(path), &error),
                 (TextRows{{u"Tileset"_s}, {u"1"_s, QString(), u"Moss"_s}}));
    }

    // Tables as spreadsheets write them, and every refusal, over 3 tilesets of 2 entries.
    void import_data()
    {
        addColumns<QString, QByteArray, int, int, QString>("suffix", "content", "changed", "added",
                                                           "refusal");
        const auto row = [](const char *name, const QByteArray &content, int changed,
                            QString refusal = {}, int added = 0, QString suffix = u"csv"_s) {
            QTest::newRow(name) << suffix << content << changed << added << refusal;
        };
        row("a row and a column left out", "Tileset,001\r\n1,x\r\n", 1);
        row("numbers with blanks and zeros", "Tileset,0\n2,x\n 01 ,y", 2);
        row("blanks outside quotes, empty last lines", "Tileset,Name\n1, \"Set 1\" \n\n\n", 0);
        row("Windows-1252 without a byte-order mark", "Tileset,Name\n0,caf\xe9\x80\n", 1);
        row("UTF-8 with one", "\xEF\xBB\xBFTileset,Name\n0,caf\xc3\xa9,\n", 1);
        row("headers in any case", "TILESET,name\n1,Moss\n", 1);
        row("a name of 33, an entry of 32",
            "Tileset,Name,000\n0," + QByteArray(33, 'n') + ',' + QByteArray(32, 'e'), 2);
        row("tab-separated", "Tileset\tName\n0\ta,b\n", 1, {}, 0, u"tsv"_s);
        row("tilesets added", "Tileset,Name\n4,Two\n3,New\n", 2, {}, 2);
        row("a quoted line end is the cell's", "Tileset,000\r\n1,\"a\r\nb\"\r\n", 0,
            u"Row 2, column B: the text holds a control character (U+000D); line ends, tabs and "
            u"NUL cannot be part of a field's text."_s);
        const QString columns =
            u"is not a column of this file; the columns are Tileset, Name and the entries 000 to "
            u"001."_s;
        row("unknown column", "Tileset,Nmae\n", 0,
            u"Row 1, column B: \u201cNmae\u201d "_s + columns);
        row("past the last entry", "Tileset,002\n", 0,
            u"Row 1, column B: \u201c002\u201d "_s + columns);
        row("repeated column", "Tileset,000,0\n", 0,
            u"Row 1, column C: \u201c0\u201d is there twice (also column B)."_s);
        row("data without a header", "Tileset,,000\n0,x,y\n", 0,
            u"Row 1, column B: a column without a header."_s);
        row("no Tileset column", "Name\nx\n", 0,
            u"Row 1: there is no \u201cTileset\u201d column to tell which row is which tileset."_s);
        row("an entry too long", "Tileset,000\n0," + QByteArray(33, 'e'), 0,
            u"Row 2, column B: the text has 33 characters; an entry holds at most 32."_s);
        row("a name too long", "Tileset,Name\n0," + QByteArray(34, 'n'), 0,
            u"Row 2, column B: the text has 34 characters; a name holds at most 33."_s);
        row("not in the code page", "Tileset,000\n0,\xce\xa9\n", 0,
            u"Row 2, column B: the text holds \u201c\u03a9\u201d; a tileset file stores "
            u"Windows-1252 characters only."_s);
        row("not a number", "Tileset,000\nx1,a\n", 0,
            u"Row 2, column A: \u201cx1\u201d is not a tileset number."_s);
        row("a number twice", "Tileset,000\n1,a\n01,b\n", 0,
            u"Row 3, column A: tileset 01 is there twice (also row 2)."_s);
        row("a number ahead", "Tileset,000\n4,a\n", 0,
            u"Row 2, column A: there is no tileset 04; the file has tilesets 00 to 02, and new "
            u"rows go on from 03, up to 254."_s);
        row("empty", "\r\n", 0,
            u"The table is empty: its first row names the columns, Tileset, Name, 000 and on."_s);
        row("a damaged workbook", "PK\x03\x04 garbage", 0, u"not a workbook (no ZIP archive)"_s, 0,
            u"xlsx"_s);
    }
    void import()
    {
        auto [suffix, content] = fetch<QString, QByteArray>("suffix", "content");
        const TilesetTable table = numberedTable(3, 2);
        QString error;
        const auto rows = rowsFromTableFile(content, *tableFormatOf(u"t."_s + suffix), &error);
        const TableImport patch = rows ? importTable(table, *rows) : TableImport{{}, 0, 0, error};
        QTEST(patch.refusal, "refusal");
        QTEST(patch.changedFields, "changed");
        QTEST(patch.addedTilesets, "added");
        TilesetTable after = table;
        patch.edit.redo(after);
        QCOMPARE(after.tilesetCount(), 3 + patch.addedTilesets);
        patch.edit.undo(after);
        QVERIFY(after == table);
    }
};

QTEST_GUILESS_MAIN(TestTableFile)
#include "tst_tablefile.moc"
