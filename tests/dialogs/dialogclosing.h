#pragma once

#include <QDialog>
#include <QPushButton>
#include <QTest>

// Steps shared by the dialog tests.

// Ends a dialog as the current data row is named: the text of a button to click, "close box",
// or else the key to press, "Enter" or "Escape".
inline void closeAsNamed(QDialog &dialog)
{
    const QString how = QString::fromLatin1(QTest::currentDataTag());
    for (QPushButton *button : dialog.findChildren<QPushButton *>())
        if (button->text() == how)
            return button->click();
    if (how == QLatin1StringView("close box"))
        dialog.close();
    else
        QTest::keyClick(&dialog,
                        how == QLatin1StringView("Enter") ? Qt::Key_Return : Qt::Key_Escape);
}

// Shows a window and waits until it is on screen.
inline bool shown(QWidget &window)
{
    window.show();
    return QTest::qWaitForWindowExposed(&window);
}

// The window's name and title, and the exact text of each named control, as "name=text".
inline void verifyTexts(const QWidget &window, const QString &name, const QString &title,
                        const QStringList &texts)
{
    QCOMPARE(window.objectName(), name);
    QCOMPARE(window.windowTitle(), title);
    for (const QString &expected : texts) {
        const QObject *found = window.findChild<QObject *>(expected.section(u'=', 0, 0));
        QCOMPARE(found ? found->objectName() + u'=' + found->property("text").toString()
                       : QString(),
                 expected);
    }
}
