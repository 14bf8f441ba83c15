#include "fixedfield.h"

#include <QTest>

namespace {

const QByteArray Nul(1, '\0');

// text followed by fill up to width bytes.
QByteArray padded(const QByteArray &text, char fill, int width)
{
    return text + QByteArray(width - text.size(), fill);
}

} // namespace

class TestFixedField : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void storeFixedText_data();
    void storeFixedText();
    void fieldRule_data();
    void fieldRule();
};

void TestFixedField::storeFixedText_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("width");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("40 to 32: cut, no NUL") << QByteArray(40, 'x') << 32 << QByteArray(32, 'x');
    QTest::newRow("exact width, no NUL") << QByteArray(33, 'n') << 33 << QByteArray(33, 'n');
    QTest::newRow("31: NUL, no space") << QByteArray(31, 'y') << 32 << QByteArray(31, 'y') + Nul;
    QTest::newRow("empty: NUL and 31 spaces") << QByteArray() << 32 << padded(Nul, ' ', 32);
}

void TestFixedField::storeFixedText()
{
    QFETCH(QByteArray, text);
    QFETCH(int, width);
    QTEST(::storeFixedText(text, width), "expected");
}

// Names take applyFieldRule, entries applyEntryRule; both run on every row.
void TestFixedField::fieldRule_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<QByteArray>("raw");
    QTest::addColumn<QByteArray>("expected");
    for (const int w : {NameWidth, EntryWidth}) {
        const auto row = [w](const char *name, const QByteArray &raw, const QByteArray &expected) {
            QTest::addRow("%s %s", w == NameWidth ? "name" : "entry", name) << w << raw << expected;
        };
        // An entry whose first byte is NUL was never assigned: it stays all NUL.
        const QByteArray unassigned = w == NameWidth ? padded(Nul, ' ', w) : QByteArray(w, '\0');
        row("NUL padded", padded("Grass", '\0', w), padded("Grass" + Nul, ' ', w));
        row("full width", QByteArray(w, 'Q'), QByteArray(w, 'Q'));
        row("text into the second half", padded(QByteArray(20, 't'), '\0', w),
            padded(QByteArray(20, 't') + Nul, ' ', w));
        row("NUL last", QByteArray(w - 1, 'l') + Nul, QByteArray(w - 1, 'l') + Nul);
        // Raw field begins and ends with text: no terminator is kept.
        row("NUL inside", padded("ab" + Nul, '-', w - 1) + "z", padded("ab", ' ', w));
        row("NUL inside, high bytes", padded("\xe9z" + Nul, '-', w - 1) + "\xe9",
            padded("\xe9z", ' ', w));
        row("leading blank", padded(" lead", '\0', w), padded(" lead" + Nul, ' ', w));
        row("first byte NUL", padded(Nul + "hidden", ' ', w), unassigned);
        row("all NUL", QByteArray(w, '\0'), unassigned);
    }
}

void TestFixedField::fieldRule()
{
    QFETCH(int, width);
    QFETCH(QByteArray, raw);
    QCOMPARE(raw.size(), width);
    if (width == NameWidth)
        ::applyFieldRule(raw.data(), width);
    else
        ::applyEntryRule(raw.data());
    QTEST(raw, "expected");
}

QTEST_GUILESS_MAIN(TestFixedField)
#include "tst_fixedfield.moc"
