#include "fixedfield.h"
#include "newfiledialog.h"
#include "selecttilesetdialog.h"
#include "tilesetfiles.h"
#include "tilesetlist.h"
#include "widgets.h"
#include "windowtest.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace Qt::StringLiterals;
using Answer = PlatformServices::Answer;
using Icon = PlatformServices::Icon;

namespace {

// A name assigned without a terminator, as New and Insert give them.
QByteArray padded(const QByteArray &text, qsizetype width)
{
    return text.leftJustified(width, ' ');
}

} // namespace

class TestTilesetCommands : public WindowTest
{
    Q_OBJECT

    QString mPath;
    QStringList mOffered;

    Document &document() { return mFixture->document(); }
    ScriptedServices &services() { return mFixture->services; }
    TilesetList *list() { return mFixture->window().tilesetList(); }
    void openNumbered(int tilesets)
    {
        mFixture->start();
        mPath = mFixture->writeNumberedFile(u"hmkset.dat"_s, tilesets, 151);
        QVERIFY(mFixture->open(mPath));
    }
    // Answers the next Select tileset dialog with index, recording the items offered.
    void chooseTileset(int index)
    {
        services().onDialog([this, index](QDialog &dialog) {
            auto *form5 = qobject_cast<SelectTilesetDialog *>(&dialog);
            QVERIFY(form5);
            for (int i = 0; i < child<QComboBox>(form5, u"Combo1"_s)->count(); ++i)
                mOffered.append(child<QComboBox>(form5, u"Combo1"_s)->itemText(i));
            child<QComboBox>(form5, u"Combo1"_s)->setCurrentIndex(index);
            child<QPushButton>(form5, u"Command1"_s)->click();
        });
    }

private Q_SLOTS:
    void init()
    {
        setUpFixture();
        mOffered.clear();
    }

    void newMakesAnEmptyDocument_data()
    {
        QTest::addColumn<QString>("choice"); // an option, or the custom tileset count
        QTest::addColumn<int>("tilesets");
        QTest::newRow("Harrowmark") << u"Harrowmark"_s << 50;
        QTest::newRow("Custom 51") << u"51"_s << 51;
        QTest::newRow("Veldrune") << u"Veldrune"_s << 70;
    }

    void newMakesAnEmptyDocument()
    {
        QFETCH(QString, choice);
        QFETCH(int, tilesets);
        openNumbered(3);
        document().changesMade = true; // replaced without a question all the same
        services().onDialog([choice](QDialog &dialog) {
            auto *form4 = qobject_cast<NewFileDialog *>(&dialog);
            QVERIFY(form4);
            if (choice == u"Harrowmark"_s) {
                child<QRadioButton>(form4, u"Option1"_s)->click();
            } else if (choice != u"Veldrune"_s) {
                child<QRadioButton>(form4, u"Option3"_s)->click();
                textBox(form4, 0)->setText(choice);
            }
            child<QPushButton>(form4, u"Command1"_s)->click();
        });
        QVERIFY(mFixture->trigger(u"mnunew"_s));

        TilesetTable expected(tilesets, 151); // every other byte NUL
        expected.setTilesetName(0, padded("Generic", NameWidth));
        if (tilesets > 50)
            expected.setTilesetName(50, padded("New generic", NameWidth));
        QVERIFY(document().tilesets == expected);
        QCOMPARE(document().filePath, u"Untitled"_s);
        QVERIFY(document().changesMade);
        QCOMPARE(mFixture->window().windowTitle(), u"HMK Tileset Editor - Untitled"_s);
    }

    void insertThenDeleteRestores_data()
    {
        QTest::addColumn<int>("tilesets");
        QTest::addColumn<int>("selected");
        QTest::newRow("first") << 6 << 0;
        QTest::newRow("last") << 6 << 5;
        QTest::newRow("head of the second group") << 60 << 50;
    }

    void insertThenDeleteRestores()
    {
        QFETCH(int, tilesets);
        QFETCH(int, selected);
        openNumbered(tilesets);
        const TilesetTable before = document().tilesets;
        list()->selectNode(selected + 1);
        QVERIFY(mFixture->trigger(u"mnuinsert"_s));

        const TilesetTable &after = document().tilesets;
        QCOMPARE(after.tilesetCount(), tilesets + 1);
        for (int i = 0; i < selected; ++i)
            QCOMPARE(after.record(i), before.record(i));
        // The name padded without a NUL, then every entry 32 spaces.
        QCOMPARE(after.record(selected).toByteArray(), padded("New Tileset", after.recordSize()));
        for (int i = selected + 1; i <= tilesets; ++i)
            QCOMPARE(after.record(i), before.record(i - 1)); // the former last stays last
        QCOMPARE(list()->selectedTileset(), selected);
        QCOMPARE(list()->currentItem()->text(0),
                 u"%1. New Tileset"_s.arg(selected, 2, 10, QChar(u'0')));
        QVERIFY(document().changesMade);

        QVERIFY(mFixture->trigger(u"mnudelete"_s));
        QVERIFY(document().tilesets == before);
        QCOMPARE(list()->selectedTileset(), selected);
    }

    void deleteSelectsTheFollowingTileset_data()
    {
        QTest::addColumn<int>("tilesets");
        QTest::addColumn<int>("deleted");
        QTest::addColumn<int>("selected");
        QTest::addColumn<int>("groups");
        QTest::newRow("first") << 6 << 0 << 0 << 1;
        QTest::newRow("last") << 6 << 5 << 4 << 1;
        QTest::newRow("51 to 50, first group") << 51 << 10 << 10 << 1;
        QTest::newRow("51 to 50, last") << 51 << 50 << 49 << 1;
        QTest::newRow("52 to 51") << 52 << 3 << 3 << 2;
    }

    void deleteSelectsTheFollowingTileset()
    {
        QFETCH(int, tilesets);
        QFETCH(int, deleted);
        QFETCH(int, selected);
        openNumbered(tilesets);
        list()->selectNode(deleted + 1);
        QVERIFY(mFixture->trigger(u"mnudelete"_s));
        QCOMPARE(document().tilesetCount(), tilesets - 1);
        QTEST(int(list()->topLevelItemCount()), "groups");
        QCOMPARE(list()->selectedTileset(), selected);
        // The tileset that followed the deleted one (or the new last).
        const int shown = selected < deleted ? selected : selected + 1;
        QCOMPARE(list()->currentItem()->text(0),
                 u"%1. Set %2"_s.arg(selected, 2, 10, QChar(u'0')).arg(shown));
    }

    void copyOrImportOverwritesSelectedTileset_data()
    {
        QTest::addColumn<int>("otherTilesets"); // 0: copy from the document itself
        QTest::addColumn<int>("chosen");
        QTest::newRow("copy") << 0 << 5;
        QTest::newRow("copy onto itself") << 0 << 7;
        QTest::newRow("import, fewer tilesets") << 3 << 2;
        QTest::newRow("import, more tilesets") << 90 << 88;
        QTest::newRow("import, the only one") << 1 << 0;
    }

    void copyOrImportOverwritesSelectedTileset()
    {
        QFETCH(int, otherTilesets);
        QFETCH(int, chosen);
        openNumbered(60);
        const TilesetTable before = document().tilesets;
        const bool import = otherTilesets > 0;
        const TilesetTable source = import ? TestFiles::numberedTable(otherTilesets, 151) : before;
        list()->selectNode(8);
        if (import) {
            services().answer(Answer::Ok);
            services().chooseFile(
                mFixture->writeFile(u"other.dat"_s, TestFiles::fileBytes(source)));
        }
        chooseTileset(chosen);
        QVERIFY(mFixture->trigger(import ? u"mnuimport"_s : u"mnucopy"_s));

        if (import) {
            QCOMPARE(services().messages.size(), 1);
            QCOMPARE(services().messages.first().text,
                     u"The currently selected tileset will be overwritten. Continue?"_s);
        }
        // Every tileset of the source offered.
        QCOMPARE(mOffered.size(), source.tilesetCount());
        const int last = source.tilesetCount() - 1;
        QCOMPARE(mOffered.last(), u"%1. Set %2"_s.arg(last, 2, 10, QChar(u'0')).arg(last));

        // A copy takes the entries only; an import the name too.
        TilesetTable expected = before;
        if (import)
            expected.setTilesetName(7, source.tilesetName(chosen));
        for (int j = 0; j < 151; ++j)
            expected.setEntry(j, 7, source.entry(j, chosen));
        QVERIFY(document().tilesets == expected);
        QVERIFY(document().changesMade);
        QCOMPARE(list()->node(8)->text(0), u"07. Set %1"_s.arg(import ? chosen : 7));
    }

    void refusedCommandChangesNothing_data()
    {
        QTest::addColumn<int>("tilesets");
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("text"); // empty: the wording is the program's own
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("icon");
        QTest::newRow("delete the only tileset")
            << 1 << u"mnudelete"_s << u"There must be at least one tileset left!"_s
            << u"Error while deleting tileset"_s << int(Icon::Exclamation);
        QTest::newRow("insert beyond 255")
            << 255 << u"mnuinsert"_s << QString() << QString() << int(Icon::Exclamation);
        QTest::newRow("import, other entry count")
            << 6 << u"mnuimport"_s << u"Incompatible amount of entries."_s
            << u"Error importing tileset"_s << int(Icon::Critical);
    }

    void refusedCommandChangesNothing()
    {
        QFETCH(int, tilesets);
        QFETCH(QString, command);
        QFETCH(QString, text);
        openNumbered(tilesets);
        const TilesetTable before = document().tilesets;
        list()->selectNode(tilesets);
        const bool import = command == u"mnuimport"_s;
        if (import) { // a file of 100 entries per tileset
            services().answer(Answer::Ok);
            services().chooseFile(mFixture->writeFile(
                u"other.dat"_s, TestFiles::fileBytes(TestFiles::numberedTable(6, 100))));
        }
        QVERIFY(mFixture->trigger(command));

        QCOMPARE(services().messages.size(), import ? 2 : 1);
        const ScriptedServices::Message message = services().messages.last();
        QCOMPARE(message.buttons, PlatformServices::Buttons::Ok);
        QTEST(int(message.icon), "icon");
        if (!text.isEmpty()) {
            QCOMPARE(message.text, text);
            QTEST(message.title, "title");
        }
        QVERIFY(document().tilesets == before);
        QVERIFY(!document().changesMade);
    }
};

QTEST_MAIN(TestTilesetCommands)
#include "tst_tilesetcommands.moc"
