#include "dialogclosing.h"
#include "progresswindow.h"
#include "widgets.h"

#include <QProgressBar>

using namespace Qt::StringLiterals;

class TestForm6 : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void showsTheLabelOverTheRoundedValue_data();
    void showsTheLabelOverTheRoundedValue();
};

void TestForm6::showsTheLabelOverTheRoundedValue_data()
{
    QTest::addColumn<float>("value");
    QTest::addColumn<int>("percent");

    QTest::newRow("0") << 0.0f << 0;
    QTest::newRow("0.4") << 0.4f << 0;
    QTest::newRow("66.7") << 66.7f << 67;
    QTest::newRow("100") << 100.0f << 100;
}

void TestForm6::showsTheLabelOverTheRoundedValue()
{
    QFETCH(float, value);
    QFETCH(int, percent);

    ProgressWindow window;
    window.setLabel(u"Loading hmkset.dat..."_s);
    verifyTexts(window, u"Form6"_s, u"HMK Tileset Editor"_s, {u"Label1=Loading hmkset.dat..."_s});
    QCOMPARE(child<QProgressBar>(&window, u"ProgressBar1"_s)->maximum(), 100);
    window.setBarValue(80.0f);
    window.setBarValue(value);
    QCOMPARE(child<QProgressBar>(&window, u"ProgressBar1"_s)->value(), percent);
}

QTEST_MAIN(TestForm6)
#include "tst_progresswindow.moc"
