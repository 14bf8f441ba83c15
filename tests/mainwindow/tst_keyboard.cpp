#include "entrytoolbar.h"
#include "fieldformat.h"
#include "finddialog.h"
#include "newfiledialog.h"
#include "qtplatformservices.h"
#include "selecttilesetdialog.h"
#include "widgets.h"
#include "windowtest.h"

#include <QAccessible>
#include <QApplication>
#include <QMenuBar>
#include <QRegularExpression>
#include <QTimer>

using namespace Qt::StringLiterals;
using namespace TestFiles;

namespace {

// Keys as the user presses them, one after another: each to whatever has the focus then,
// shortcuts first; then the text typed.
void press(std::initializer_list<QKeyCombination> keys, const QString &typed = {})
{
    for (const QKeyCombination key : keys) {
        QWidget *target = QApplication::activePopupWidget();
        if (!target)
            target = QApplication::focusWidget();
        QVERIFY(target);
        QTest::keyClick(target, key.key(), key.keyboardModifiers());
    }
    QTest::keyClicks(QApplication::focusWidget(), typed);
}

QString accessibleName(QObject *object)
{
    QAccessibleInterface *readable = QAccessible::queryAccessibleInterface(object);
    return readable ? readable->text(QAccessible::Name) : QString();
}

// Every text a screen reader reaches below object.
QStringList readTexts(QAccessibleInterface *readable)
{
    QStringList texts{readable->text(QAccessible::Name)};
    for (int i = 0; i < readable->childCount(); ++i)
        texts += readTexts(readable->child(i));
    return texts;
}

} // namespace

class TestKeyboard : public WindowTest
{
    Q_OBJECT

private Q_SLOTS:
    // Open, rename, edit, insert, delete, find, compare, take and save without a mouse.
    void keyboardAlone()
    {
        const TilesetTable theirs = with(numberedTable(3, 4), 2, 3, "theirs");
        const QString path = writeFile(u"ours.dat"_s, fileBytes(numberedTable(3, 4)));
        start().show();
        QApplication::setActiveWindow(&window());
        services().files = {path, writeFile(u"other.dat"_s, fileBytes(theirs))};
        press({Qt::ControlModifier | Qt::Key_O});
        QCOMPARE(QApplication::focusWidget(), list());
        press({Qt::Key_Down, Qt::Key_Return}, u"Moor"_s); // renames, as Shift+F2 does below
        press({Qt::Key_Return});
        QTRY_COMPARE(fieldText(table().tilesetName(1)), u"Moor"_s);
        press({Qt::Key_Tab});
        QCOMPARE(QApplication::focusWidget(), tree());
        press({Qt::Key_End, Qt::Key_Return}, u"x.bmp"_s); // Return as F2 does
        press({Qt::Key_Return});
        QTRY_COMPARE(fieldText(table().entry(3, 1)), u"x.bmp"_s);
        press({Qt::ShiftModifier | Qt::Key_Tab});
        QCOMPARE(QApplication::focusWidget(), list());
        press({Qt::Key_Insert});
        QCOMPARE(document().tilesetCount(), 4);
        press({Qt::Key_Delete}); // the tileset, not the name's text
        QCOMPARE(std::pair(document().tilesetCount(), fieldText(table().tilesetName(1))),
                 std::pair(3, u"Moor"_s));
        press({Qt::ShiftModifier | Qt::Key_F2}); // F2 alone edits the entry
        QVERIFY(labelEditor(list()));
        press({Qt::Key_Escape, Qt::ControlModifier | Qt::Key_F});
        QApplication::setActiveWindow(child(&window(), u"FindDialog"_s)); // as a desktop does
        QTest::keyClicks(QApplication::focusWidget(), u"x.bmp"_s);
        press({Qt::Key_Return, Qt::Key_Escape});
        QApplication::setActiveWindow(&window());
        press({Qt::Key_Home, Qt::Key_F3});
        QCOMPARE(std::pair(list()->currentTileset(), tree()->currentEntry()), std::pair(1, 3));
        // Compare with file, by its menu's Alt letters; then the first difference taken.
        QTest::keyClick(window().menuBar(), Qt::Key_F, Qt::AltModifier);
        press({Qt::Key_M});
        QTRY_VERIFY(list()->hasFocus()); // given back once the menu has closed
        press({Qt::Key_F8});
        QCOMPARE(list()->currentTileset(), 2); // the next after tileset 01, which differs too
        press({Qt::ControlModifier | Qt::Key_T});
        QCOMPARE(std::pair(table().entry(3, 2), fieldText(table().tilesetName(1))),
                 std::pair(theirs.entry(3, 2), u"Moor"_s));
        press({Qt::ControlModifier | Qt::Key_S});
        QCOMPARE(read(path), fileBytes(table()));
    }

    // Each menu item has an Alt letter of its own within its menu, and the README's table of
    // commands lists it with its shortcut.
    void everyCommandInTheReadme()
    {
        start();
        const QString guide = QString::fromUtf8(read(QStringLiteral(SOURCE_DIR "/README.md")));
        QStringList missing;
        const QRegularExpression numbered(u"^mnurecent\\d"_s);
        const std::function<void(QMenu *, QString)> walk = [&](QMenu *menu, QString path) {
            QString letters;
            for (QAction *item : menu->actions()) {
                // The recent files are numbered, and differ from one machine to another.
                if (item->isSeparator() || numbered.match(item->objectName()).hasMatch())
                    continue;
                const QString text = item->text();
                const qsizetype amp = text.indexOf(u'&');
                QVERIFY2(amp >= 0 && !letters.contains(text[amp + 1].toUpper()),
                         qPrintable(path + u" > "_s + text));
                letters += text[amp + 1].toUpper();
                QString row =
                    u"| %1 | %2 | %3 | %4 |"_s.arg(path, QString(text).remove(amp, 1),
                                                   letters.back(), item->shortcut().toString());
                if (!guide.contains(row.replace(u"|  |"_s, u"| |"_s)))
                    missing.append(row);
                if (item->menu())
                    walk(item->menu(), path + u" > "_s + QString(text).remove(amp, 1));
            }
        };
        for (QAction *title : window().menuBar()->actions())
            walk(title->menu(), title->text().remove(u'&'));
        QCOMPARE(missing.join(u"\n"_s), QString());
    }

    // The focused tree shows a frame and an active selection; the other a dimmed one. Every
    // widget a user reaches reads with a name; the entry tree's says whose entries, a message
    // box its text and its buttons.
    void focusIsSeenAndEverythingHasAName()
    {
        start().show();
        QApplication::setActiveWindow(&window());
        QVERIFY(open(writeNumberedFile(u"a.dat"_s, 3, 151)));
        tree()->setFocus();
        const QColor highlight = list()->palette().color(QPalette::Active, QPalette::Highlight);
        QTRY_COMPARE(tree()->grab().toImage().pixel(0, 0), highlight.rgb());
        QVERIFY(list()->grab().toImage().pixel(0, 0) != highlight.rgb());
        const QColor dimmed = list()->palette().color(QPalette::Inactive, QPalette::Highlight);
        const QPoint selected = list()->visualItemRect(list()->currentItem()).center();
        QCOMPARE(list()->viewport()->grab().toImage().pixel(selected + QPoint(60, 0)),
                 dimmed.rgb());
        QVERIFY(dimmed.rgb() != highlight.rgb());
        QCOMPARE(accessibleName(tree()), u"Entries of tileset 00"_s);
        // Enter, the keypad's too, opens and closes a category; Ctrl+E all of them.
        QTreeWidgetItem *rest = tree()->topLevelItem(15);
        const bool open = rest->isExpanded();
        tree()->setCurrentItem(rest);
        QTest::keyClick(tree(), Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(rest->isExpanded(), !open);
        press({Qt::Key_Enter | Qt::KeypadModifier});
        QCOMPARE(rest->isExpanded(), open);
        press({Qt::ControlModifier | Qt::Key_E});
        QCOMPARE(rest->isExpanded(), !open);
        click(list(), list()->node(3));
        QCOMPARE(accessibleName(tree()), u"Entries of tileset 02"_s);
        QCOMPARE(accessibleName(list()), u"Tilesets"_s);
        NewFileDialog newFile(&window());
        SelectTilesetDialog select(table(), &window());
        FindDialog find(&window());
        QStringList nameless;
        for (QWidget *top : QWidgetList{&window(), &newFile, &select, &find}) {
            for (QWidget *widget : top->findChildren<QWidget *>()) {
                if ((widget->focusPolicy() != Qt::NoFocus || widget->inherits("QToolButton")) &&
                    widget->isVisibleTo(top) && !widget->inherits("QMenu") &&
                    accessibleName(widget).trimmed().isEmpty())
                    nameless.append(top->objectName() + u'/' + widget->objectName() + u' ' +
                                    QString::fromLatin1(widget->metaObject()->className()));
            }
        }
        QCOMPARE(nameless.join(u"\n"_s), QString());
        QCOMPARE(accessibleName(child(&window(), u"Toolbar1Button2"_s)), u"Open a tileset"_s);
        QCOMPARE(accessibleName(window().findChild<EntryToolbar *>()->widgetForAction(
                     child<QAction>(&window(), u"Toolbar2Button4"_s))),
                 u"Banks & cliffs"_s);
        QCOMPARE(accessibleName(textBox(&newFile, 0)), u"Amount of tilesets:"_s);
        QtPlatformServices platform; // a message box reads its text and its buttons
        QStringList read;
        QTimer::singleShot(0, [&read] {
            QWidget *box = QApplication::activeModalWidget();
            read = readTexts(QAccessible::queryAccessibleInterface(box));
            box->close();
        });
        platform.messageBox(nullptr, u"Save changes?"_s, u"Title"_s,
                            PlatformServices::Buttons::YesNo, PlatformServices::Icon::Question);
        for (const QString &text : {u"Save changes?"_s, u"Yes"_s, u"No"_s})
            QVERIFY2(read.join(u'|').remove(u'&').contains(text), qPrintable(read.join(u'|')));
    }
};

QTEST_MAIN(TestKeyboard)
#include "tst_keyboard.moc"
