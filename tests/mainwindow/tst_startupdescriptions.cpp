#include "entrycategories.h"
#include "entrytree.h"
#include "windowfixture.h"

#include <QAction>
#include <QFile>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QString entryNumber(int entry)
{
    return QString::number(entry).rightJustified(3, u'0') + u". "_s;
}

} // namespace

// desc.txt, read once at start-up, and "Show descriptions" in the entry tree.
class TestDescriptions : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void descriptionsBesideEntries();
    void onlyFirst151DescriptionsUsed();
    void linesTakenUnchanged();
    void noDescriptionFile();
    void toggleWithoutDocument();
    void otherEntryCountShowsNoDescriptions();

private:
    void writeSettings(const QByteArray &line) const
    {
        mFixture->writeFile(u"hmktse.ini"_s, "[HMKTSE-Settings]\r\n" + line + "\r\n");
    }
    Form1 &startShown()
    {
        Form1 &window = mFixture->start();
        window.show();
        return window;
    }
    QAction *action(const QString &name) const
    {
        return mFixture->window().findChild<QAction *>(name);
    }
    QString label(int entry) const
    {
        EntryTree *tree = mFixture->window().NewList2;
        return tree->node(tree->EntryNode(entry))->text(0);
    }

    std::unique_ptr<WindowFixture> mFixture;
};

void TestDescriptions::init()
{
    mFixture = std::make_unique<WindowFixture>();
}

void TestDescriptions::cleanup()
{
    QVERIFY2(mFixture->services.unexpected.isEmpty(),
             qPrintable(mFixture->services.unexpected.join(u"; "_s)));
    QVERIFY(mFixture->services.allAnswersUsed());
    mFixture.reset();
}

void TestDescriptions::descriptionsBesideEntries()
{
    mFixture->writeFile(u"desc.txt"_s, "A\r\n\r\nC\r\n");
    writeSettings("ShowDescriptions= 1");
    Form1 &window = startShown();
    QVERIFY(mFixture->open(mFixture->writeNumberedFile(u"d.dat"_s, 2, 151)));
    QStringList categories;
    for (int c = 0; c < int(EntryCategories.size()); ++c)
        categories.append(window.NewList2->categoryNode(c)->text(0));

    for (const bool on : {true, false, true}) {
        QCOMPARE(action(u"mnudisplaynames"_s)->isChecked(), on);
        for (int entry = 0; entry < CategorisedEntryCount; ++entry) {
            QString description;
            if (on && entry == 0)
                description = u"A: "_s;
            if (on && entry == 2)
                description = u"C: "_s;
            QCOMPARE(label(entry),
                     entryNumber(entry) + description + u"0:"_s + QString::number(entry));
        }
        for (int c = 0; c < int(EntryCategories.size()); ++c)
            QCOMPARE(window.NewList2->categoryNode(c)->text(0), categories.at(c));
        QVERIFY(mFixture->trigger(u"mnudisplaynames"_s)); // relabels at once
    }
}

void TestDescriptions::onlyFirst151DescriptionsUsed()
{
    QByteArray lines;
    for (int k = 0; k < 200; ++k)
        lines += "D" + QByteArray::number(k) + "\r\n";
    mFixture->writeFile(u"desc.txt"_s, lines);
    writeSettings("ShowDescriptions= 1");
    startShown();
    QVERIFY(mFixture->open(mFixture->writeNumberedFile(u"d.dat"_s, 1, 151)));
    for (int entry : {0, 1, 75, 149, 150})
        QCOMPARE(label(entry), entryNumber(entry) + u"D%1: 0:%1"_s.arg(entry));
}

void TestDescriptions::linesTakenUnchanged()
{
    // Blanks kept, one byte per character, and a last line without its line end.
    mFixture->writeFile(u"desc.txt"_s, " a b \r\n\xe9t\xe9\r\n\tlast");
    writeSettings("ShowDescriptions= 1");
    startShown();
    QVERIFY(mFixture->open(mFixture->writeNumberedFile(u"d.dat"_s, 1, 151)));
    QCOMPARE(label(0), u"000.  a b : 0:0"_s);
    QCOMPARE(label(1), u"001. \u00e9t\u00e9: 0:1"_s);
    QCOMPARE(label(2), u"002. \tlast: 0:2"_s);
    QCOMPARE(label(3), u"003. 0:3"_s);
}

void TestDescriptions::noDescriptionFile()
{
    writeSettings("ShowDescriptions= 1");
    startShown();
    QVERIFY(mFixture->open(mFixture->writeNumberedFile(u"d.dat"_s, 1, 151)));
    QVERIFY(!action(u"mnudisplaynames"_s)->isVisible());
    QVERIFY(action(u"mnudisplaynames"_s)->isChecked());
    for (int entry : {0, 2, 150})
        QCOMPARE(label(entry), entryNumber(entry) + u"0:"_s + QString::number(entry));
    QVERIFY(mFixture->trigger(u"mnuquit"_s));
    QFile written(mFixture->folderPath(u"hmktse.ini"_s)); // the check mark is kept all the same
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(written.readAll().split('\n').value(7), "ShowDescriptions= 1\r");
}

void TestDescriptions::toggleWithoutDocument()
{
    mFixture->writeFile(u"desc.txt"_s, "A\r\n");
    Form1 &window = startShown();
    QVERIFY(mFixture->trigger(u"mnudisplaynames"_s));
    QVERIFY(action(u"mnudisplaynames"_s)->isChecked());
    QCOMPARE(window.NewList2->nodeCount(), 0);
    const QString path = mFixture->writeNumberedFile(u"d.dat"_s, 1, 151);
    QVERIFY(mFixture->open(path));
    QCOMPARE(label(0), u"000. A: 0:0"_s);

    QVERIFY(mFixture->trigger(u"mnuclose"_s));
    QVERIFY(mFixture->trigger(u"mnudisplaynames"_s));
    QVERIFY(!action(u"mnudisplaynames"_s)->isChecked());
    QVERIFY(window.NewList2->isHidden());
    QCOMPARE(window.NewList2->nodeCount(), 0);
    QVERIFY(mFixture->open(path));
    QCOMPARE(label(0), u"000. 0:0"_s);
}

void TestDescriptions::otherEntryCountShowsNoDescriptions()
{
    mFixture->writeFile(u"desc.txt"_s, "A\r\nB\r\n");
    writeSettings("ShowDescriptions= 1");
    startShown();
    QVERIFY(mFixture->open(mFixture->writeNumberedFile(u"flat.dat"_s, 2, 100)));
    QVERIFY(!action(u"mnudisplaynames"_s)->isEnabled());
    QVERIFY(action(u"mnudisplaynames"_s)->isChecked());
    QVERIFY(!mFixture->trigger(u"mnudisplaynames"_s));
    QCOMPARE(label(0), u"000. 0:0"_s);
    QCOMPARE(label(1), u"001. 0:1"_s);

    QVERIFY(mFixture->open(mFixture->writeNumberedFile(u"full.dat"_s, 2, 151)));
    QVERIFY(action(u"mnudisplaynames"_s)->isEnabled());
    QCOMPARE(label(1), u"001. B: 0:1"_s);
}

QTEST_MAIN(TestDescriptions)
#include "tst_startupdescriptions.moc"
