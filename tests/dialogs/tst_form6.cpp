#include "form6.h"

#include <QLabel>
#include <QProgressBar>
#include <QTest>

using namespace Qt::StringLiterals;

class TestForm6 : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void startsEmpty();
    void labelShowsTheGivenText();
    void barValueIsRounded_data();
    void barValueIsRounded();
};

void TestForm6::startsEmpty()
{
    Form6 window;
    QCOMPARE(window.objectName(), u"Form6"_s);
    QVERIFY(!window.windowTitle().isEmpty());
    QCOMPARE(window.findChild<QLabel *>(u"Label1"_s), window.Label1);
    QCOMPARE(window.findChild<QProgressBar *>(u"ProgressBar1"_s), window.ProgressBar1);
    QCOMPARE(window.ProgressBar1->minimum(), 0);
    QCOMPARE(window.ProgressBar1->maximum(), 100);
    QCOMPARE(window.ProgressBar1->value(), 0);
}

void TestForm6::labelShowsTheGivenText()
{
    Form6 window;
    window.setLabel(u"Loading hmkset.dat..."_s);
    QCOMPARE(window.Label1->text(), u"Loading hmkset.dat..."_s);
    window.setLabel(u"Saving"_s);
    QCOMPARE(window.Label1->text(), u"Saving"_s);
}

void TestForm6::barValueIsRounded_data()
{
    QTest::addColumn<float>("value");
    QTest::addColumn<int>("shown");

    QTest::newRow("0") << 0.0f << 0;
    QTest::newRow("0.4") << 0.4f << 0;
    QTest::newRow("50") << 50.0f << 50;
    QTest::newRow("33.3") << 33.3f << 33;
    QTest::newRow("66.7") << 66.7f << 67;
    QTest::newRow("99.6") << 99.6f << 100;
    QTest::newRow("100") << 100.0f << 100;
}

void TestForm6::barValueIsRounded()
{
    QFETCH(float, value);
    QFETCH(int, shown);

    Form6 window;
    window.setBarValue(80.0f);
    window.setBarValue(value);
    QCOMPARE(window.ProgressBar1->value(), shown);
}

QTEST_MAIN(TestForm6)
#include "tst_form6.moc"
