#include "settingsfile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(EditorSettings)

// Lets QCOMPARE show both sides when settings differ.
char *toString(const EditorSettings &s)
{
    const QString text = u"{%1, %2 %3 %4 %5, %6 %7 %8 %9}"_s.arg(s.LastOpened)
                             .arg(s.WindowLeft)
                             .arg(s.WindowTop)
                             .arg(s.WindowWidth)
                             .arg(s.WindowHeight)
                             .arg(s.SizerLeft)
                             .arg(s.ShowDescriptions)
                             .arg(s.OpenLastFileOnStartup)
                             .arg(s.SelectedEntry);
    return QTest::toString(text);
}

namespace {

// Distinct values, so a key that is read into the wrong field or not kept shows.
EditorSettings initialSettings()
{
    EditorSettings s;
    s.LastOpened = u"/old/set.dat"_s;
    s.WindowLeft = 11;
    s.WindowTop = 12;
    s.WindowWidth = 13;
    s.WindowHeight = 14;
    s.SizerLeft = 15;
    s.ShowDescriptions = 16;
    s.OpenLastFileOnStartup = 17;
    s.SelectedEntry = 18;
    return s;
}

QByteArray contentsOf(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "<unreadable>";
    return file.readAll();
}

} // namespace

class TestSettingsFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();

    // Reading
    void readsNumberValue_data();
    void readsNumberValue();
    void readsLines_data();
    void readsLines();
    void valueOutOfRangeKeepsPreviousAndReadsOn();
    void missingFileLeavesSettingsUntouched();
    void folderIsNoSettingsFile();

    // Writing
    void writesExactBytes_data();
    void writesExactBytes();
    void replacesLongerFile();
    void roundTrip();
    void writingIntoMissingFolderFails();

private:
    bool writeFile(const QByteArray &bytes);

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_path;
};

void TestSettingsFile::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_path = m_dir->filePath(u"hmktse.ini"_s);
}

bool TestSettingsFile::writeFile(const QByteArray &bytes)
{
    QFile file(m_path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

void TestSettingsFile::readsNumberValue_data()
{
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<int>("expected");
    QTest::addColumn<bool>("fits");

    QTest::newRow("plain") << QByteArray("120") << 120 << true;
    QTest::newRow("unit after number") << QByteArray("7000px") << 7000 << true;
    QTest::newRow("no number") << QByteArray("abc") << 0 << true;
    QTest::newRow("empty") << QByteArray("") << 0 << true;
    QTest::newRow("negative") << QByteArray("-15") << -15 << true;
    QTest::newRow("plus sign") << QByteArray("+8") << 8 << true;
    QTest::newRow("blanks inside") << QByteArray(" 1 2 3") << 123 << true;
    QTest::newRow("tab inside") << QByteArray("1\t2 3x4") << 123 << true;
    QTest::newRow("blank after sign") << QByteArray("- 15") << -15 << true;
    QTest::newRow("second sign ends") << QByteArray("5-3") << 5 << true;
    QTest::newRow("fraction only") << QByteArray(".5") << 0 << true;
    QTest::newRow("negative fraction") << QByteArray("-0.6") << -1 << true;
    QTest::newRow("sign after point ends") << QByteArray(".-7") << 0 << true;
    QTest::newRow("second point ends") << QByteArray("1.2.3") << 1 << true;
    QTest::newRow("half down to even") << QByteArray("2.5") << 2 << true;
    QTest::newRow("half up to even") << QByteArray("3.5") << 4 << true;
    QTest::newRow("12.5") << QByteArray("12.5") << 12 << true;
    QTest::newRow("13.5") << QByteArray("13.5") << 14 << true;
    QTest::newRow("negative half") << QByteArray("-2.5") << -2 << true;
    QTest::newRow("above half") << QByteArray("2.5001") << 3 << true;
    QTest::newRow("below half") << QByteArray("2.4999") << 2 << true;
    QTest::newRow("trailing zeros of half") << QByteArray("2.5000") << 2 << true;
    QTest::newRow("largest") << QByteArray("32767") << 32767 << true;
    QTest::newRow("smallest") << QByteArray("-32768") << -32768 << true;
    QTest::newRow("rounds to smallest") << QByteArray("-32768.5") << -32768 << true;
    QTest::newRow("leading zeros") << QByteArray("000000000000000000042") << 42 << true;
    QTest::newRow("just too large") << QByteArray("32768") << 0 << false;
    QTest::newRow("rounds out of range") << QByteArray("32767.5") << 0 << false;
    QTest::newRow("40000") << QByteArray("40000") << 0 << false;
    QTest::newRow("-40000") << QByteArray("-40000") << 0 << false;
    QTest::newRow("-32769") << QByteArray("-32769") << 0 << false;
    QTest::newRow("wraps 32 bits") << QByteArray("4294967297") << 0 << false;
    QTest::newRow("huge") << QByteArray(400, '9') << 0 << false;
}

void TestSettingsFile::readsNumberValue()
{
    QFETCH(QByteArray, value);
    QFETCH(int, expected);
    QFETCH(bool, fits);

    QVERIFY(writeFile("[HMKTSE-Settings]\r\nSizerLeft= " + value + "\r\n"));
    EditorSettings settings = initialSettings();
    EditorSettings wanted = initialSettings();
    if (fits)
        wanted.SizerLeft = expected;
    QCOMPARE(ReadSettings(m_path, settings), fits);
    QCOMPARE(settings, wanted);
}

void TestSettingsFile::readsLines_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<EditorSettings>("expected");

    const EditorSettings initial = initialSettings();
    EditorSettings full;
    full.LastOpened = u"/home/me/mods/a=b set.dat"_s;
    full.WindowLeft = 120;
    full.WindowTop = -45;
    full.WindowWidth = 9000;
    full.WindowHeight = 6000;
    full.SizerLeft = 2400;
    full.ShowDescriptions = 1;
    full.OpenLastFileOnStartup = 1;
    full.SelectedEntry = 150;
    const QByteArray fullLines[] = {
        "[HMKTSE-Settings]",        "LastOpened= /home/me/mods/a=b set.dat",
        "WindowLeft= 120",          "WindowTop= -45",
        "WindowWidth= 9000",        "WindowHeight= 6000",
        "SizerLeft= 2400",          "ShowDescriptions= 1",
        "OpenLastFileOnStartup= 1", "SelectedEntry= 150",
    };
    const auto joined = [&](const QByteArray &end, bool finalEnd) {
        QByteArray bytes;
        for (const QByteArray &line : fullLines)
            bytes += line + end;
        return finalEnd ? bytes : bytes.chopped(end.size());
    };
    QTest::newRow("CR LF") << joined("\r\n", true) << full;
    QTest::newRow("LF only") << joined("\n", true) << full;
    QTest::newRow("CR only") << joined("\r", true) << full;
    QTest::newRow("no final line end") << joined("\r\n", false) << full;
    QTest::newRow("blank lines between") << joined("\r\n\r\n\n\r", true) << full;

    EditorSettings left = initial;
    left.WindowLeft = 120;
    QTest::newRow("capitals and blanks")
        << QByteArray("[HMKTSE-Settings]\r\n   WINDOWLEFT  =  120   \r\n") << left;
    QTest::newRow("tabs around") << QByteArray("\tWindowLeft\t=\t120\t\r\n") << left;
    QTest::newRow("section only") << QByteArray("[HMKTSE-Settings]") << initial;
    QTest::newRow("empty file") << QByteArray() << initial;

    EditorSettings sizer = initial;
    sizer.SizerLeft = 3000;
    QTest::newRow("last occurrence wins")
        << QByteArray("sizerleft=1000\r\nsizerleft=3000\r\n") << sizer;
    QTest::newRow("bare key changes nothing")
        << QByteArray("sizerleft=3000\r\nSizerLeft\r\n") << sizer;

    EditorSettings twoSections = initial;
    twoSections.WindowLeft = 120;
    twoSections.SelectedEntry = 7;
    QTest::newRow("sections anywhere skipped")
        << QByteArray("[A]\r\nWindowLeft=120\r\n  [Other=Section]\r\nSelectedEntry=7\r\n[B]")
        << twoSections;

    EditorSettings repeated = initial;
    repeated.WindowTop = 300;
    QTest::newRow("lines without equals")
        << QByteArray("no assignment\r\nWindowTop=300\r\njust text\r\n;comment\r\n") << repeated;
    QTest::newRow("unknown keys")
        << QByteArray("Window=1\r\nWindowLeftX=2\r\nLast Opened=x\r\nWindowTop=300\r\n=5\r\n")
        << repeated;

    EditorSettings path = initial;
    path.LastOpened = u"C:\\My Games\\x = y\\set.dat"_s;
    QTest::newRow("last opened kept as it is")
        << QByteArray("LastOpened=  C:\\My Games\\x = y\\set.dat  \r\n") << path;
    EditorSettings utf8 = initial;
    utf8.LastOpened = u"/home/j\u00f6rg/\u5730\u56f3.dat"_s;
    QTest::newRow("last opened in UTF-8")
        << QByteArray("LastOpened= /home/j\xc3\xb6rg/\xe5\x9c\xb0\xe5\x9b\xb3.dat\r\n") << utf8;
    EditorSettings empty = initial;
    empty.LastOpened.clear();
    QTest::newRow("empty last opened") << QByteArray("LastOpened= \r\n") << empty;
}

void TestSettingsFile::readsLines()
{
    QFETCH(QByteArray, contents);
    QFETCH(EditorSettings, expected);

    QVERIFY(writeFile(contents));
    EditorSettings settings = initialSettings();
    QVERIFY(ReadSettings(m_path, settings));
    QCOMPARE(settings, expected);
}

void TestSettingsFile::valueOutOfRangeKeepsPreviousAndReadsOn()
{
    QVERIFY(writeFile("[HMKTSE-Settings]\r\n"
                      "WindowLeft= 500\r\n"
                      "WindowLeft= 40000\r\n"
                      "WindowTop= -40000\r\n"
                      "WindowWidth= 8000\r\n"
                      "SelectedEntry= 3\r\n"));
    EditorSettings settings = initialSettings();
    EditorSettings expected = initialSettings();
    expected.WindowLeft = 500;
    expected.WindowWidth = 8000;
    expected.SelectedEntry = 3;
    QVERIFY(!ReadSettings(m_path, settings));
    QCOMPARE(settings, expected);
}

void TestSettingsFile::missingFileLeavesSettingsUntouched()
{
    EditorSettings settings = initialSettings();
    QVERIFY(!ReadSettings(m_dir->filePath(u"absent.ini"_s), settings));
    QCOMPARE(settings, initialSettings());
}

void TestSettingsFile::folderIsNoSettingsFile()
{
    EditorSettings settings = initialSettings();
    QVERIFY(!ReadSettings(m_dir->path(), settings));
    QCOMPARE(settings, initialSettings());
}

void TestSettingsFile::writesExactBytes_data()
{
    QTest::addColumn<EditorSettings>("settings");
    QTest::addColumn<QByteArray>("bytes");

    EditorSettings typical;
    typical.LastOpened = u"C:\\Games\\HMK\\hmkset.dat"_s;
    typical.WindowLeft = 1200;
    typical.WindowTop = 900;
    typical.WindowWidth = 9600;
    typical.WindowHeight = 7200;
    typical.SizerLeft = 2880;
    typical.ShowDescriptions = 1;
    typical.OpenLastFileOnStartup = 0;
    typical.SelectedEntry = 42;
    QTest::newRow("typical") << typical
                             << QByteArray("[HMKTSE-Settings]\r\n"
                                           "LastOpened= C:\\Games\\HMK\\hmkset.dat\r\n"
                                           "WindowLeft= 1200\r\n"
                                           "WindowTop= 900\r\n"
                                           "WindowWidth= 9600\r\n"
                                           "WindowHeight= 7200\r\n"
                                           "SizerLeft= 2880\r\n"
                                           "ShowDescriptions= 1\r\n"
                                           "OpenLastFileOnStartup= 0\r\n"
                                           "SelectedEntry= 42\r\n");

    EditorSettings negative;
    negative.WindowLeft = -120;
    negative.WindowTop = -32768;
    negative.SelectedEntry = -1;
    QTest::newRow("empty path and negative numbers") << negative
                                                     << QByteArray("[HMKTSE-Settings]\r\n"
                                                                   "LastOpened= \r\n"
                                                                   "WindowLeft= -120\r\n"
                                                                   "WindowTop= -32768\r\n"
                                                                   "WindowWidth= 0\r\n"
                                                                   "WindowHeight= 0\r\n"
                                                                   "SizerLeft= 0\r\n"
                                                                   "ShowDescriptions= 0\r\n"
                                                                   "OpenLastFileOnStartup= 0\r\n"
                                                                   "SelectedEntry= -1\r\n");

    EditorSettings utf8;
    utf8.LastOpened = u"/home/j\u00f6rg/set.dat"_s;
    QTest::newRow("path in UTF-8") << utf8
                                   << QByteArray("[HMKTSE-Settings]\r\n"
                                                 "LastOpened= /home/j\xc3\xb6rg/set.dat\r\n"
                                                 "WindowLeft= 0\r\n"
                                                 "WindowTop= 0\r\n"
                                                 "WindowWidth= 0\r\n"
                                                 "WindowHeight= 0\r\n"
                                                 "SizerLeft= 0\r\n"
                                                 "ShowDescriptions= 0\r\n"
                                                 "OpenLastFileOnStartup= 0\r\n"
                                                 "SelectedEntry= 0\r\n");
}

void TestSettingsFile::writesExactBytes()
{
    QFETCH(EditorSettings, settings);
    QFETCH(QByteArray, bytes);
    QVERIFY(WriteSettings(m_path, settings));
    QCOMPARE(contentsOf(m_path), bytes);
}

void TestSettingsFile::replacesLongerFile()
{
    QVERIFY(writeFile(QByteArray(5000, 'x') + "\r\nWindowLeft= 77\r\n"));
    EditorSettings settings;
    settings.WindowLeft = 5;
    QVERIFY(WriteSettings(m_path, settings));
    const QByteArray written = contentsOf(m_path);
    QVERIFY(written.startsWith("[HMKTSE-Settings]\r\nLastOpened= \r\nWindowLeft= 5\r\n"));
    QVERIFY(written.endsWith("SelectedEntry= 0\r\n"));
    QCOMPARE(written.count("\r\n"), 10);
    QVERIFY(!written.contains('x'));
}

void TestSettingsFile::roundTrip()
{
    EditorSettings settings;
    settings.LastOpened = u"/srv/HMK mods/a=b/\u00e9t\u00e9.dat"_s;
    settings.WindowLeft = -32768;
    settings.WindowTop = 32767;
    settings.WindowWidth = 12000;
    settings.WindowHeight = 9000;
    settings.SizerLeft = 3000;
    settings.ShowDescriptions = 1;
    settings.OpenLastFileOnStartup = 1;
    settings.SelectedEntry = 150;
    QVERIFY(WriteSettings(m_path, settings));

    EditorSettings read = initialSettings();
    QVERIFY(ReadSettings(m_path, read));
    QCOMPARE(read, settings);
}

void TestSettingsFile::writingIntoMissingFolderFails()
{
    const QString path = m_dir->filePath(u"missing/hmktse.ini"_s);
    QVERIFY(!WriteSettings(path, EditorSettings()));
    QVERIFY(!QFile::exists(path));
}

QTEST_GUILESS_MAIN(TestSettingsFile)
#include "tst_settingsfile.moc"
