#include "fixedfield.h"

#include <QTest>

namespace {

QByteArray bytes(const char *text, int size)
{
    return QByteArray(text, size);
}

QByteArray nul()
{
    return QByteArray(1, '\0');
}

QByteArray applied(QByteArray raw)
{
    ApplyFieldRule(raw.data(), int(raw.size()));
    return raw;
}

} // namespace

class TestFixedField : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void storeFixedText_data();
    void storeFixedText();
    void padFixedText();
    void fieldRule_data();
    void fieldRule();
};

void TestFixedField::storeFixedText_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("width");
    QTest::addColumn<QByteArray>("expected");
    const QByteArray forty(40, 'x');
    QTest::newRow("longer is cut, no NUL") << forty << 32 << QByteArray(32, 'x');
    QTest::newRow("exact width, no NUL") << QByteArray(33, 'n') << 33 << QByteArray(33, 'n');
    QTest::newRow("one short: NUL, no space")
        << QByteArray(31, 'y') << 32 << QByteArray(31, 'y') + nul();
    QTest::newRow("empty") << QByteArray() << 32 << nul() + QByteArray(31, ' ');
    QTest::newRow("name") << QByteArray("Grass") << 33 << "Grass" + nul() + QByteArray(27, ' ');
}

void TestFixedField::storeFixedText()
{
    QFETCH(QByteArray, text);
    QFETCH(int, width);
    QTEST(StoreFixedText(text, width), "expected");
}

void TestFixedField::padFixedText()
{
    QCOMPARE(PadFixedText("Generic", NameWidth), "Generic" + QByteArray(26, ' '));
    QCOMPARE(PadFixedText("", EntryWidth), QByteArray(32, ' '));
}

void TestFixedField::fieldRule_data()
{
    QTest::addColumn<QByteArray>("raw");
    QTest::addColumn<QByteArray>("expected");
    const int w = NameWidth;
    QTest::newRow("NUL padded") << "Grass" + QByteArray(28, '\0')
                                << "Grass" + nul() + QByteArray(27, ' ');
    QTest::newRow("space padded") << "Grass" + nul() + QByteArray(27, ' ')
                                  << "Grass" + nul() + QByteArray(27, ' ');
    QTest::newRow("full width") << QByteArray(w, 'Q') << QByteArray(w, 'Q');
    QTest::newRow("NUL inside a full-looking field") << "ab" + nul() + QByteArray(29, '-') + "z"
                                                     << "ab" + QByteArray(31, ' ');
    QTest::newRow("leading blank stays")
        << " lead" + QByteArray(28, '\0') << " lead" + nul() + QByteArray(27, ' ');
    QTest::newRow("leading blank, no NUL")
        << " " + QByteArray(32, 'k') << " " + QByteArray(32, 'k');
    QTest::newRow("first byte NUL")
        << nul() + "hidden" + QByteArray(26, ' ') << nul() + QByteArray(32, ' ');
    QTest::newRow("all NUL") << QByteArray(w, '\0') << nul() + QByteArray(32, ' ');
    QTest::newRow("bytes after NUL dropped")
        << "a" + nul() + "junk" + QByteArray(27, '\0') << "a" + nul() + QByteArray(31, ' ');
    QTest::newRow("high bytes are text") << bytes("\xe9t\xe9", 3) + QByteArray(30, '\0')
                                         << bytes("\xe9t\xe9", 3) + nul() + QByteArray(29, ' ');
}

void TestFixedField::fieldRule()
{
    QFETCH(QByteArray, raw);
    QCOMPARE(raw.size(), NameWidth);
    QTEST(applied(raw), "expected");
}

QTEST_GUILESS_MAIN(TestFixedField)
#include "tst_fixedfield.moc"
