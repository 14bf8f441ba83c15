#pragma once

#include "windowfixture.h"

#include <QTest>
#include <QWidget>

#include <memory>

// The frame of every window test: a fresh fixture for each test function, and after each,
// no question the test did not answer and no scripted answer left over.
class WindowTest : public QObject
{
    Q_OBJECT

protected:
    std::unique_ptr<WindowFixture> mFixture;
    ScriptedServices &services() { return mFixture->services; }
    Document &document() { return mFixture->document(); }
    QAction *action(const QString &name) const
    {
        return mFixture->window().findChild<QAction *>(name);
    }

private Q_SLOTS:
    void initTestCase()
    {
        // Expected geometry is written in twips at 15 a pixel, as the offscreen platform has.
        QWidget probe;
        if (probe.logicalDpiX() != 96 || probe.logicalDpiY() != 96)
            QSKIP("the expected values assume 96 dpi");
    }
    void init() { mFixture = std::make_unique<WindowFixture>(); }
    void cleanup()
    {
        QCOMPARE(mFixture->services.unexpected, QStringList());
        QVERIFY(mFixture->services.allAnswersUsed());
        mFixture.reset();
    }
};
