#include "datatable.h"
#include "mainwindow.h"
#include "progresswindow.h"
#include "qtplatformservices.h"
#include "scriptedservices.h"
#include "tilesetfiles.h"
#include "widgets.h"

#include <QAction>
#include <QApplication>
#include <QProgressBar>
#include <QTemporaryDir>

#include <memory>

using namespace Qt::StringLiterals;
using namespace TestFiles;

// Scripted answers, but the window's own paced pump, on a clock that moves only as records
// arrive: every pump stands for one record that takes nsPerRecord to read.
class SlowDisk : public ScriptedServices
{
public:
    int pumpEvents(int count, bool barMoved) override
    {
        now += count * nsPerRecord;
        ++calls;
        ScriptedServices::pumpEvents(count, barMoved);
        return letPass = mPaced.pumpEvents(count, barMoved);
    }
    void startPumping() override { mPaced.startPumping(); }
    qint64 nsPerRecord = 0, now = 0;
    int calls = 0, letPass = 0;

private:
    QtPlatformServices mPaced{[this] { return now; }};
};

class TestProgress : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void largeLoadKeepsTheWindowPainting_data()
    {
        // mostCalls: of the services: a pump is mostly a countdown
        // How often pending events run: once a frame (12 ms) and whenever the bar moves once
        // the window is on screen, from its first frame on.
        addColumns<qint64, int, int, int>("nsPerRecord", "mostCalls", "fewestRuns", "mostRuns");
        // Done within a frame: nothing to paint.
        QTest::newRow("fast disk") << qint64(2) << 255 << 0 << 0;
        // 130 ms: eleven frames, but ninety moves of the bar after the first frame.
        QTest::newRow("disk") << qint64(2'000) << 255 * 255 << 85 << 1 + 100 + 11;
        QTest::newRow("slow disk")
            << qint64(100'000) << 255 * 255 << 6'500 / 12 << 1 + 100 + 6'500 / 10;
    }

    void largeLoadKeepsTheWindowPainting()
    {
        auto [nsPerRecord, mostCalls, fewestRuns, mostRuns] =
            fetch<qint64, int, int, int>("nsPerRecord", "mostCalls", "fewestRuns", "mostRuns");
        QTemporaryDir folder;
        SlowDisk services; // Open is answered with the file written here
        services.files << write(folder.filePath(u"big.dat"_s), fileBytes(numberedTable(255, 255)));
        services.nsPerRecord = nsPerRecord;
        MainWindow window(services, folder.path());

        // A call that queues itself again runs once each time pending events run, until its
        // context goes at the end of the load. The runs: the start, each run, the end.
        QList<qint64> runs{0};
        QList<int> bars;
        bool disabled = true;
        auto context = std::make_unique<QObject>();
        std::function<void()> noteRun = [&] {
            runs.append(services.now);
            QMetaObject::invokeMethod(context.get(), noteRun, Qt::QueuedConnection);
        };
        services.duringPump = [&] {
            disabled = disabled && !window.isEnabled();
            for (QWidget *top : QApplication::topLevelWidgets())
                if (auto *form6 = qobject_cast<ProgressWindow *>(top))
                    bars.append(child<QProgressBar>(form6, u"ProgressBar1"_s)->value());
        };
        QMetaObject::invokeMethod(context.get(), noteRun, Qt::QueuedConnection);
        window.findChild<QAction *>(u"mnuopen"_s)->trigger();
        context.reset();
        runs.append(services.now);

        // One pump per entry record, the last few let pass.
        QVERIFY(services.pumps <= 255 * 255 && services.pumps + services.letPass >= 255 * 255);
        // Disabled all through the load, enabled after.
        QVERIFY(services.calls <= mostCalls && disabled && window.isEnabled());
        QCOMPARE(std::pair(bars.value(0, -1), bars.value(bars.size() - 1, -1)), std::pair(0, 100));
        // From start to end events run within a frame at 60 Hz of each other.
        for (qsizetype i = 1; i < runs.size(); ++i)
            QCOMPARE_LE(runs[i] - runs[i - 1], 16'000'000);
        QVERIFY(runs.size() - 2 >= fewestRuns && runs.size() - 2 <= mostRuns);
    }

    // However fast the pumps come, the pumps let pass at most double from one call to the
    // next, and each load or save starts over from one.
    void paceGrowsByDoubling()
    {
        qint64 now = 0;
        QtPlatformServices paced([&now] { return now; });
        for (int load = 0; load < 2; ++load) {
            paced.startPumping();
            for (int letPass = 0; int expected : {1, 3, 7, 15}) {
                now += letPass + 1; // a nanosecond a pump
                QCOMPARE(letPass = paced.pumpEvents(letPass + 1, false), expected);
            }
        }
    }
};

QTEST_MAIN(TestProgress)
#include "tst_progress.moc"
