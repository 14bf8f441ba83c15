#include "settingsfile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(EditorSettings)

// Lets QCOMPARE show both sides when settings differ.
char *toString(const EditorSettings &s)
{
    QString text = s.lastOpened;
    for (int v : {s.windowLeft, s.windowTop, s.windowWidth, s.windowHeight, s.sizerLeft,
                  s.showDescriptions, s.openLastFileOnStartup, s.selectedEntry})
        text += u' ' + QString::number(v);
    return QTest::toString(text);
}

namespace {

// Distinct values, so a key that is read into the wrong field or not kept shows.
EditorSettings initialSettings()
{
    return {u"/old/set.dat"_s, 11, 12, 13, 14, 15, 16, 17, 18};
}

} // namespace

class TestSettingsFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void read_data();
    void read();
    void unreadableFileChangesNothing();
    void writesExactBytesAndReadsThemBack();
    void writingIntoMissingFolderFails();

private:
    bool writeFile(const QByteArray &bytes);

    QTemporaryDir mDir;
    QString mPath;
};

void TestSettingsFile::init()
{
    mPath = mDir.filePath(u"hmktse.ini"_s);
}

bool TestSettingsFile::writeFile(const QByteArray &bytes)
{
    QFile file(mPath);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

void TestSettingsFile::read_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<EditorSettings>("expected");
    QTest::addColumn<bool>("complete");

    // Rows read into sizerLeft (15 before); the mapping of every key shows in the round trip.
    const auto row = [](const char *name, const QByteArray &contents, std::optional<int> sizer,
                        bool complete) {
        EditorSettings s = initialSettings();
        s.sizerLeft = sizer.value_or(s.sizerLeft);
        QTest::newRow(name) << contents << s << complete;
    };
    // No expected number: the value does not fit 16 bits, is not taken and the read is incomplete.
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
    number("2.5000", 2);
    number("2.5001", 3);
    number("32767", 32767);
    number("-32768", -32768);
    number("32768", {});
    number("-32769", {});
    number("32767.5", {});
    number("4294967297", {});
    number("99999999999999999999", {});
    row("CR, LF, no final line end", "SizerLeft=1\rSizerLeft=2\nSizerLeft=3", 3, true);
    row("capitals, spaces around =", "[HMKTSE-Settings]\r\n   SIZERLEFT  =  120   \r\n", 120, true);
    row("section only", "[HMKTSE-Settings]", {}, true);
    row("lines without =, unknown keys",
        "no assignment\r\nSizerLeft=300\r\nSizerLeft\r\nSizerLeftX=2\r\n=5\r\n", 300, true);
    row("duplicates: last wins", "sizerleft=1000\r\nSizerLeft=3000\r\n", 3000, true);
    row("out of 16 bits, reading goes on", "SizerLeft= 40000\r\nSizerLeft= 500\r\n", 500, false);
    EditorSettings noPath = initialSettings();
    noPath.lastOpened.clear();
    QTest::newRow("empty last opened") << QByteArray("LastOpened= \r\n") << noPath << true;
}

void TestSettingsFile::read()
{
    QFETCH(QByteArray, contents);
    QVERIFY(writeFile(contents));
    EditorSettings settings = initialSettings();
    QTEST(::readSettingsFile(mPath, settings), "complete");
    QTEST(settings, "expected");
}

void TestSettingsFile::unreadableFileChangesNothing()
{
    for (const QString &path : {mDir.filePath(u"absent.ini"_s), mDir.path()}) {
        EditorSettings settings = initialSettings();
        QVERIFY(!::readSettingsFile(path, settings));
        QCOMPARE(settings, initialSettings());
    }
}

void TestSettingsFile::writesExactBytesAndReadsThemBack()
{
    QVERIFY(writeFile(QByteArray(5000, 'x'))); // a longer file is replaced, not overwritten in part
    const EditorSettings settings{
        u"C:\\HMK mods\\a=b\\\u00e9t\u00e9.dat"_s, -32768, 32767, 9600, 7200, 2880, 1, 0, 150};
    QVERIFY(::writeSettingsFile(mPath, settings));
    QFile file(mPath);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("[HMKTSE-Settings]\r\n"
                                        "LastOpened= C:\\HMK mods\\a=b\\\xc3\xa9t\xc3\xa9.dat\r\n"
                                        "WindowLeft= -32768\r\n"
                                        "WindowTop= 32767\r\n"
                                        "WindowWidth= 9600\r\n"
                                        "WindowHeight= 7200\r\n"
                                        "SizerLeft= 2880\r\n"
                                        "ShowDescriptions= 1\r\n"
                                        "OpenLastFileOnStartup= 0\r\n"
                                        "SelectedEntry= 150\r\n"));

    EditorSettings read = initialSettings();
    QVERIFY(::readSettingsFile(mPath, read));
    QCOMPARE(read, settings);
}

void TestSettingsFile::writingIntoMissingFolderFails()
{
    const QString path = mDir.filePath(u"missing/hmktse.ini"_s);
    QVERIFY(!::writeSettingsFile(path, EditorSettings()));
    QVERIFY(!QFile::exists(path));
}

QTEST_GUILESS_MAIN(TestSettingsFile)
#include "tst_settingsfile.moc"
