#include "descriptionfile.h"
#include "pathutils.h"
#include "settingsfile.h"
#include "tilesetfile.h"
#include "tilesetfiles.h"
#include "windows1252.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using TestFiles::read;

Q_DECLARE_METATYPE(EditorSettings)

namespace {

const QByteArray Nul(1, '\0');

QByteArray padded(const QByteArray &text, char fill, int width)
{
    return text + QByteArray(width - text.size(), fill);
}

QByteArray header(int tilesets, int entries)
{
    return TestFiles::fileBytes(TilesetTable(tilesets, entries)).first(5);
}

// Distinct values, so that a key read into the wrong field or not kept shows.
const EditorSettings Initial{u"/old/set.dat"_s, 11, 12, 13, 14, 15, 16, 17, 18};

} // namespace

class TestDocument : public QObject
{
    Q_OBJECT

    QTemporaryDir mDir;
    Document mDocument;
    QString path(const QString &name) const { return mDir.filePath(name); }
    LoadError load(const QByteArray &bytes, int target = -1, const LoadHooks &hooks = {})
    {
        return loadTilesetFile(mDocument, TestFiles::write(path(u"in.dat"_s), bytes), target,
                               hooks);
    }

private Q_SLOTS:
    void init() { mDocument = Document(); }

    void storedText_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("field"); // of an entry
        QTest::newRow("longer: cut, no NUL") << QByteArray(40, 'x') << QByteArray(32, 'x');
        QTest::newRow("exact width: no NUL") << QByteArray(32, 'x') << QByteArray(32, 'x');
        QTest::newRow("31: NUL, no space") << QByteArray(31, 'y') << QByteArray(31, 'y') + Nul;
        QTest::newRow("empty: NUL, spaces") << QByteArray() << padded(Nul, ' ', 32);
    }
    void storedText()
    {
        QFETCH(QByteArray, text);
        QTEST(storeFixedText(text, EntryWidth), "field");
    }

    // The loader's rule, for names and for entries, each row as both.
    void fieldRule_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<QByteArray>("raw");
        QTest::addColumn<QByteArray>("expected");
        for (const int w : {NameWidth, EntryWidth}) {
            const auto row = [w](const char *name, const QByteArray &raw, const QByteArray &to) {
                QTest::addRow("%s %s", w == NameWidth ? "name" : "entry", name) << w << raw << to;
            };
            row("NUL padded", padded("Grass", '\0', w), padded("Grass" + Nul, ' ', w));
            row("full width", QByteArray(w, 'Q'), QByteArray(w, 'Q'));
            row("into the second half", padded(QByteArray(20, 't'), '\0', w),
                padded(QByteArray(20, 't') + Nul, ' ', w));
            row("NUL last", QByteArray(w - 1, 'l') + Nul, QByteArray(w - 1, 'l') + Nul);
            // Text at both ends of the raw field: no terminator is kept.
            row("NUL inside", padded("ab" + Nul, '-', w - 1) + "\xe9", padded("ab", ' ', w));
            row("space first", padded(" ab" + Nul, '-', w - 1) + "z", padded(" ab" + Nul, ' ', w));
            // An entry whose first byte is NUL was never assigned: it becomes all NUL.
            row("first byte NUL", padded(Nul + "hidden", ' ', w),
                w == NameWidth ? padded(Nul, ' ', w) : QByteArray(w, '\0'));
        }
    }
    void fieldRule()
    {
        QFETCH(int, width);
        QFETCH(QByteArray, raw);
        if (width == NameWidth)
            applyFieldRule(raw.data(), width);
        else
            applyEntryRule(raw.data());
        QTEST(raw, "expected");
    }

    void windows1252()
    {
        QByteArray all(256, Qt::Uninitialized);
        for (int i = 0; i < 256; ++i)
            all[i] = char(i);
        bool ok = false;
        QCOMPARE(toWindows1252(fromWindows1252(all), &ok), all); // every byte comes back
        QVERIFY(ok);
        QCOMPARE(fromWindows1252("\x80\xe9"), u"\u20ac\u00e9"_s);
        QCOMPARE(toWindows1252(u"a\u4e2db", &ok), QByteArray("a?b"));
        QVERIFY(!ok);
    }

    void paths()
    {
        QCOMPARE(folderOf(u"C:\\Games\\new/set.dat"_s) + u'|' +
                     fileTitleOf(u"C:\\Games\\set.dat"_s),
                 u"C:\\Games\\new|set.dat"_s);
        QVERIFY(!fileExists(mDir.path()) && !fileExists(path(u"absent"_s)));
    }

    void readSettings_data()
    {
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<EditorSettings>("expected");
        QTest::addColumn<bool>("complete");
        // Rows read into SizerLeft (15 before); none: the value is not taken.
        const auto row = [](const char *name, const QByteArray &contents, std::optional<int> sizer,
                            bool complete) {
            EditorSettings s = Initial;
            s.sizerLeft = sizer.value_or(s.sizerLeft);
            QTest::newRow(name) << contents << s << complete;
        };
        // A value that does not fit 16 bits makes the read incomplete.
        const auto number = [&](const char *value, std::optional<int> expected) {
            row(value, "[HMKTSE-Settings]\r\nSizerLeft= " + QByteArray(value) + "\r\n", expected,
                expected.has_value());
        };
        number("7000px", 7000);
        number("abc", 0);
        number(" 1 2 3", 123);
        number("-0.6", -1);
        number("2.5", 2);
        number("3.5", 4);
        number("32767", 32767);
        number("32768", {});
        number("-32769", {});
        row("CR, LF, no final line end", "SizerLeft=1\rSizerLeft=2\nSizerLeft=3", 3, true);
        row("capitals, blanks around =", "  SIZERLEFT  =  120   \r\n", 120, true);
        row("no =, unknown keys", "SizerLeft=300\r\nSizerLeft\r\nSizerLeftX=2\r\n=5", 300, true);
        row("out of range, reading goes on", "SizerLeft= 40000\r\nSizerLeft= 500", 500, false);
        EditorSettings noPath = Initial;
        noPath.lastOpened.clear();
        QTest::newRow("empty LastOpened") << QByteArray("LastOpened= \r\n") << noPath << true;
    }
    void readSettings()
    {
        QFETCH(QByteArray, contents);
        EditorSettings settings = Initial;
        QTEST(readSettingsFile(TestFiles::write(path(u"hmktse.ini"_s), contents), settings),
              "complete");
        QTEST(settings, "expected");
    }

    void writeSettings()
    {
        const QString ini = TestFiles::write(path(u"w.ini"_s), QByteArray(5000, 'x'));
        const EditorSettings settings{
            u"C:\\HMK\\a=b\\\u00e9.dat"_s, -32768, 32767, 9600, 7200, 2880, 1, 0, 150};
        QVERIFY(writeSettingsFile(ini, settings));
        QCOMPARE(read(ini), QByteArray("[HMKTSE-Settings]\r\nLastOpened= C:\\HMK\\a=b\\\xc3\xa9.dat"
                                       "\r\nWindowLeft= -32768\r\nWindowTop= 32767\r\n"
                                       "WindowWidth= 9600\r\nWindowHeight= 7200\r\n"
                                       "SizerLeft= 2880\r\nShowDescriptions= 1\r\n"
                                       "OpenLastFileOnStartup= 0\r\nSelectedEntry= 150\r\n"));
        EditorSettings back = Initial;
        QVERIFY(readSettingsFile(ini, back));
        QCOMPARE(back, settings);
        QVERIFY(!writeSettingsFile(path(u"missing/w.ini"_s), settings));
        back = Initial;
        QVERIFY(!readSettingsFile(mDir.path(), back)); // a folder, changing nothing
        QCOMPARE(back, Initial);
    }

    void descriptions_data()
    {
        QTest::addColumn<QByteArray>("contents"); // null: no file
        QTest::addColumn<QStringList>("first");   // every later text is empty
        const QStringList aEmptyC = {u"A"_s, QString(), u"C"_s};
        QTest::newRow("CR LF") << QByteArray("A\r\n\r\nC\r\n") << aEmptyC;
        QTest::newRow("LF") << QByteArray("A\n\nC\n") << aEmptyC;
        QTest::newRow("CR, CR LF, no last end") << QByteArray("A\r\r\nC") << aEmptyC;
        QTest::newRow("blanks kept, code page")
            << QByteArray(" Grass \t\r\n\x80 caf\xe9") << QStringList{u" Grass \t"_s, u"€ café"_s};
        QTest::newRow("missing file") << QByteArray() << QStringList();
        QStringList texts;
        for (int k = 0; k < 200; ++k)
            texts.append(u"line %1"_s.arg(k));
        QTest::newRow("200 lines") << texts.join(u'\n').toLatin1() << texts.first(151);
    }
    void descriptions()
    {
        QFETCH(QByteArray, contents);
        QFETCH(QStringList, first);
        const QString desc = path(QString::fromLatin1(QTest::currentDataTag()));
        if (!contents.isNull())
            TestFiles::write(desc, contents);
        const QStringList texts = readDescriptionFile(desc);
        QCOMPARE(texts.size(), DescriptionCount);
        QCOMPARE(texts.first(first.size()), first);
        QCOMPARE(texts.sliced(first.size()).join(QString()), QString());
    }

    void loadAppliesTheRule()
    {
        QCOMPARE(load(header(1, 1) + padded("Grass", '\0', 33) + padded(Nul + "x", ' ', 32) +
                      "trailing bytes are ignored"),
                 LoadError::None);
        QCOMPARE(mDocument.tilesetName(0), padded("Grass" + Nul, ' ', 33));
        QCOMPARE(mDocument.entry(0, 0), QByteArray(32, '\0'));
        QVERIFY(mDocument.loadSucceeded);
    }

    void failedLoadChangesNothing_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<LoadError>("error");
        QTest::newRow("one byte") << QByteArray("\x02") << LoadError::LoadFailed;
        QTest::newRow("T x E - 1 bytes")
            << header(2, 5) + Nul + Nul << LoadError::IncorrectFilesize;
        QTest::newRow("T x E bytes") << header(2, 5) + QByteArray(5, 0) << LoadError::LoadFailed;
        QTest::newRow("no tilesets") << header(0, 3) << LoadError::LoadFailed;
        QTest::newRow("no entries") << header(3, 0) << LoadError::LoadFailed;
        QTest::newRow("one byte short")
            << TestFiles::fileBytes(TestFiles::numberedTable(2, 3)).chopped(1)
            << LoadError::LoadFailed;
    }
    void failedLoadChangesNothing()
    {
        QFETCH(QByteArray, file);
        mDocument.tilesets = TestFiles::numberedTable(4, 6);
        mDocument.changesMade = true;
        const Document before = mDocument;
        QTEST(load(file), "error");
        QVERIFY(!mDocument.loadSucceeded);
        QVERIFY(mDocument.tilesets == before.tilesets && mDocument.changesMade);
        QVERIFY(load(file, 1) != LoadError::None); // nor does an import
        QVERIFY(mDocument.tilesets == before.tilesets && mDocument.changesMade);
    }

    void importCopiesTheChosenRecord()
    {
        const TilesetTable original = TestFiles::numberedTable(5, 4);
        mDocument.tilesets = original;
        TilesetTable source = TestFiles::numberedTable(2, 4);
        source.setTilesetName(1, padFixedText("Imported", NameWidth));
        int choice = -1;
        int offered = 0;
        const LoadHooks hooks{{}, [&](const TilesetTable &pending) {
                                  offered = pending.tilesetCount();
                                  return choice;
                              }};
        QCOMPARE(load(TestFiles::fileBytes(TestFiles::numberedTable(2, 5)), 3, hooks),
                 LoadError::IncompatibleEntries);
        QCOMPARE(offered, 0);
        QCOMPARE(load(TestFiles::fileBytes(source), 3, hooks), LoadError::None); // cancelled
        QCOMPARE(offered, 2);
        QVERIFY(mDocument.tilesets == original && !mDocument.changesMade);
        choice = 1;
        QCOMPARE(load(TestFiles::fileBytes(source), 3, hooks), LoadError::None);
        TilesetTable expected = original;
        expected.copyTileset(source, 1, 3);
        QCOMPARE(mDocument.tilesetName(3), padFixedText("Imported", NameWidth));
        QVERIFY(mDocument.tilesets == expected && mDocument.changesMade);
    }

    // The bar goes up by 100 / (T - 1) before each tileset while the total stays within 100.
    void progress_data()
    {
        QTest::addColumn<int>("tilesets");
        QTest::addColumn<int>("barValues");
        QTest::addColumn<float>("lastValue");
        QTest::newRow("T=1") << 1 << 0 << 0.0f;
        QTest::newRow("T=2") << 2 << 1 << 100.0f;
        QTest::newRow("T=70") << 70 << 68 << 98.550725f; // 69 steps of 100/69 sum above 100
    }
    void progress()
    {
        QFETCH(int, tilesets);
        QFETCH(int, barValues);
        const QByteArray original = TestFiles::fileBytes(TestFiles::numberedTable(tilesets, 9));
        QList<float> loading, saving;
        int pumps = 0;
        const auto seen = [&pumps](QList<float> &values) -> FileProgress {
            return {[&values](float v) { values.append(v); }, [&pumps] { ++pumps; }};
        };
        QCOMPARE(load(original, -1, {seen(loading), {}}), LoadError::None);
        QCOMPARE(pumps, tilesets * 9); // one per entry while loading, one per tileset saving
        const QString out = TestFiles::write(path(u"out.dat"_s), QByteArray(99999, 'x'));
        QVERIFY(writeTilesetFile(mDocument.tilesets, out, seen(saving)));
        QCOMPARE(pumps, tilesets * 10);
        QCOMPARE(read(out), original); // the header and records, and cut to that length
        QCOMPARE(saving, loading);
        QCOMPARE(loading.size(), barValues);
        QTEST(loading.value(barValues - 1), "lastValue");
    }

    void saveFailures()
    {
        // 256 tilesets do not fit the count's byte: refused before the old file is touched.
        const QString keep = TestFiles::write(path(u"keep.dat"_s), "old");
        QVERIFY(!writeTilesetFile(TilesetTable(256, 1), keep, {}));
        QCOMPARE(read(keep), "old");
        QVERIFY(!writeTilesetFile(TilesetTable(1, 1), mDir.path(), {}));
    }
};

QTEST_GUILESS_MAIN(TestDocument)
#include "tst_document.moc"
