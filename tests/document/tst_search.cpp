#include "fieldinfo.h"
#include "fieldsearch.h"
#include "tilesetfiles.h"

#include <QTest>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(SearchOptions)

namespace {

QByteArray nulPadded(const QByteArray &text, int width)
{
    return text + QByteArray(width - text.size(), '\0');
}

// Tileset 1 holds the odd fields: a name padded with blanks and no terminator, text after a
// NUL, a field never written, a full-width entry.
TilesetTable searchTable()
{
    TilesetTable table = TestFiles::numberedTable(3, 4);
    table.setTilesetName(1, padFixedText("Rock garden", NameWidth));
    table.setEntry(0, 1, storeFixedText("rock012.bmp", EntryWidth));
    table.setEntry(1, 1, nulPadded("grass", EntryWidth) + "rock");
    table.setEntry(2, 1, QByteArray(EntryWidth, '\0'));
    table.setEntry(3, 1, QByteArray(EntryWidth, 'R'));
    table.setEntry(2, 2, storeFixedText("ROCK012.BMP", EntryWidth));
    return table;
}

SearchOptions options(const QString &text, bool matchCase = false, bool whole = false,
                      bool names = true, bool entries = true)
{
    return {text, matchCase, whole, names, entries};
}

} // namespace

class TestSearch : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void findFields_data()
    {
        QTest::addColumn<SearchOptions>("options");
        QTest::addColumn<QList<int>>("found"); // tileset * 10 + entry + 1; a name is tileset * 10
        QTest::newRow("any case, names and entries")
            << options(u"rock"_s) << QList<int>{10, 11, 23};
        QTest::newRow("match case") << options(u"rock"_s, true) << QList<int>{11};
        QTest::newRow("names only")
            << options(u"rock"_s, false, false, true, false) << QList<int>{10};
        QTest::newRow("text after a NUL is no text") << options(u"grass"_s) << QList<int>{12};
        QTest::newRow("whole field, padding aside")
            << options(u"rock garden"_s, false, true) << QList<int>{10};
        QTest::newRow("whole field, not a part") << options(u"rock"_s, false, true) << QList<int>{};
        QTest::newRow("full-width entry") << options(u"RRRR"_s, true) << QList<int>{14};
        QTest::newRow("nothing to find") << options(QString()) << QList<int>{};
    }
    void findFields()
    {
        QFETCH(SearchOptions, options);
        QList<int> found;
        for (const FieldMatch &m : ::findFields(searchTable(), options))
            found.append(m.tileset * 10 + m.entry + 1);
        QTEST(found, "found");
    }

    void replaceFields_data()
    {
        QTest::addColumn<QString>("find");
        QTest::addColumn<QString>("replacement");
        QTest::addColumn<QByteArray>("entry0"); // of tileset 1, afterwards
        QTest::addColumn<int>("changed");
        QTest::addColumn<int>("cut");
        QTest::newRow("stored as an edit stores it")
            << u"rock"_s << u"stone"_s << storeFixedText("stone012.bmp", EntryWidth) << 3 << 0;
        QTest::newRow("cut at the width, and counted")
            << u"012"_s << QString(30, u'x') << QByteArray("rock") + QByteArray(28, 'x') << 2 << 2;
        QTest::newRow("padding that falls off is no cut")
            << u"garden"_s << u"gardens"_s << storeFixedText("rock012.bmp", EntryWidth) << 1 << 0;
        QTest::newRow("same bytes change nothing")
            << u"012"_s << u"012"_s << storeFixedText("rock012.bmp", EntryWidth) << 0 << 0;
    }
    void replaceFields()
    {
        QFETCH(QString, find);
        QFETCH(QString, replacement);
        TilesetTable table = searchTable();
        const TilesetTable before = table;
        const SearchOptions search = options(find);
        const FieldReplacement r =
            ::replaceFields(table, ::findFields(table, search), search, replacement);
        QTEST(r.changedFields, "changed");
        QTEST(r.cutFields, "cut");
        r.edit.redo(table);
        QTEST(table.entry(0, 1).toByteArray(), "entry0");
        if (find == u"garden"_s) // 34 characters with its padding: the blanks go, no NUL
            QCOMPARE(table.tilesetName(1).toByteArray(), padFixedText("Rock gardens", NameWidth));
        r.edit.undo(table);
        QVERIFY(table == before);
    }

    void tableEditUndoesExactly()
    {
        TilesetTable table = TestFiles::numberedTable(3, 2);
        const TilesetTable before = table;
        TableEdit edit;
        edit.add(table.nameOffset(1), table.record(1), {});                     // delete tileset 1
        edit.add(table.nameOffset(0), {}, QByteArray(table.recordSize(), ' ')); // insert at 0
        edit.add(table.entryOffset(1, 2), table.entry(1, 2), storeFixedText("x", EntryWidth));
        QVERIFY(edit.changesTilesetCount());
        edit.redo(table);
        QCOMPARE(table.tilesetCount(), 3);
        QCOMPARE(table.entry(1, 2).toByteArray(), storeFixedText("x", EntryWidth));
        edit.undo(table);
        QVERIFY(table == before);
        TableEdit none;
        none.add(0, table.record(0), table.record(0));
        QVERIFY(none.isEmpty());
    }

    void describeField_data()
    {
        QTest::addColumn<QByteArray>("field");
        QTest::addColumn<QString>("described");
        QTest::newRow("terminated") << storeFixedText("rock012.bmp", EntryWidth)
                                    << u"11 / 32 characters \u00b7 ends with NUL"_s;
        QTest::newRow("full") << padFixedText("Generic", NameWidth)
                              << u"33 / 33 characters \u00b7 fills the field"_s;
        QTest::newRow("never written")
            << QByteArray(EntryWidth, '\0') << u"0 / 32 characters \u00b7 never written"_s;
    }
    void describeField()
    {
        QFETCH(QByteArray, field);
        QTEST(::describeField(field), "described");
    }

    void hexBytes()
    {
        const QString hex = ::hexBytes(storeFixedText("Ab", 17));
        QCOMPARE(hex, u"41 62 00 20 20 20 20 20 20 20 20 20 20 20 20 20\n20"_s);
    }
};

QTEST_GUILESS_MAIN(TestSearch)
#include "tst_search.moc"
