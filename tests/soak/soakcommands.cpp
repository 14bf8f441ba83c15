#include "filetoolbar.h"
#include "form3.h"
#include "form4.h"
#include "form5.h"
#include "soakdriver.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

using namespace Qt::StringLiterals;
using namespace SoakModel;
using Answer = PlatformServices::Answer;

// File commands, tileset commands and the dialogs they show.

namespace {

// A count typed into the New file dialog, and the tileset count it makes (0: Ok disabled).
struct TypedCount
{
    QString text;
    int tilesets;
};

const QList<TypedCount> SmallCounts{
    {u"1"_s, 1},   {u"2"_s, 2},   {u"3"_s, 3},   {u"7"_s, 7},    {u"12"_s, 12},
    {u"49"_s, 49}, {u"50"_s, 50}, {u"51"_s, 51}, {u"52"_s, 52},  {u"60"_s, 60},
    {u"2.5"_s, 3}, {u"1.5"_s, 1}, {u".5"_s, 1},  {u" 9"_s, 9},   {u"0"_s, 0},
    {u"256"_s, 0}, {u"-5"_s, 0},  {u"abc"_s, 0}, {QString(), 0},
};
const QList<TypedCount> LargeCounts{
    {u"99"_s, 99}, {u"101"_s, 101}, {u"254"_s, 254}, {u"255"_s, 255}};

} // namespace

void SoakDriver::newFile()
{
    enum Kind
    {
        Cancel,
        Veldrune,
        Harrowmark,
        Custom
    };
    const int roll = below(10);
    const Kind kind = roll < 2 ? Cancel : roll < 5 ? Veldrune : roll < 6 ? Harrowmark : Custom;
    const TypedCount custom = chance(5) ? LargeCounts[below(int(LargeCounts.size()))]
                                        : SmallCounts[below(int(SmallCounts.size()))];
    const int tilesets = kind == Veldrune     ? 70
                         : kind == Harrowmark ? 50
                         : kind == Custom     ? custom.tilesets
                                              : 0;
    note(u"New"_s);
    note(kind == Cancel       ? u"Cancel"_s
         : kind == Veldrune   ? u"Veldrune"_s
         : kind == Harrowmark ? u"Harrowmark"_s
                              : u"Custom "_s + quoted(custom.text));
    mFixture.services.onDialog([this, kind, custom, tilesets](QDialog &dialog) {
        auto *form = qobject_cast<Form4 *>(&dialog);
        if (!form) {
            problem(u"New showed "_s + dialog.windowTitle());
            dialog.reject();
            return;
        }
        if (form->windowTitle() != u"New file"_s || !form->Option2->isChecked() ||
            form->Text1[0]->text() != u"70"_s || form->Text1[1]->text() != u"151"_s ||
            form->Text1[0]->isEnabled() || form->Text1[1]->isEnabled() ||
            !form->Command1->isEnabled())
            problem(u"the New file dialog did not open in its designed state"_s);
        switch (kind) {
        case Cancel:
            form->Command2->click();
            return;
        case Harrowmark:
            form->Option1->click();
            break;
        case Veldrune:
            form->Option2->click();
            break;
        case Custom:
            form->Option3->click();
            form->Text1[0]->setText(custom.text);
            break;
        }
        if (kind != Custom && form->Text1[0]->text() != QString::number(tilesets))
            problem(u"the preset shows %1 tilesets"_s.arg(form->Text1[0]->text()));
        if (form->Text1[0]->isEnabled() != (kind == Custom))
            problem(u"the tileset box is not enabled exactly for Custom"_s);
        if (form->Command1->isEnabled() != (tilesets > 0))
            problem(u"Ok is %1 for %2"_s.arg(
                form->Command1->isEnabled() ? u"enabled"_s : u"disabled"_s, quoted(custom.text)));
        (tilesets > 0 ? form->Command1 : form->Command2)->click();
    });
    if (tilesets > 0)
        m.newFile(tilesets);
    if (chance(30))
        mFixture.window().Toolbar1->button(1)->trigger();
    else
        trigger(u"mnunew"_s);
}

void SoakDriver::openFile()
{
    const bool toolbar = chance(30);
    note(toolbar ? u"Open (toolbar)"_s : u"Open"_s);
    bool goOn = true;
    if (m.changes)
        goOn = answerSavePrompt(u"Save changes before opening another file?"_s);
    if (goOn) {
        const QStringList choices = openChoices();
        const QString path = chance(10) ? QString() : choices[below(int(choices.size()))];
        chooseFile(path, u"Open hmkset.dat"_s, false);
        if (!path.isEmpty())
            m.openPath(path);
    }
    if (toolbar)
        mFixture.window().Toolbar1->button(2)->trigger();
    else
        trigger(u"mnuopen"_s);
}

void SoakDriver::closeFile()
{
    note(u"Close"_s);
    if (!requireDocument(u"mnuclose"_s))
        return;
    if (!m.changes || answerSavePrompt(u"Save changes before closing file?"_s))
        m.close();
    trigger(u"mnuclose"_s);
}

void SoakDriver::save()
{
    const bool toolbar = chance(40);
    note(toolbar ? u"Save (toolbar)"_s : u"Save"_s);
    QAction *button = mFixture.window().Toolbar1->button(3);
    if (!m.open) {
        note(u"(no document)"_s);
        if (button->isEnabled() || mFixture.trigger(u"mnusave"_s))
            problem(u"Save could be chosen without a document"_s);
        return;
    }
    modelSave();
    if (toolbar)
        button->trigger();
    else
        trigger(u"mnusave"_s);
}

void SoakDriver::saveAs()
{
    note(u"Save as"_s);
    if (!requireDocument(u"mnusaveas"_s))
        return;
    modelSaveAs();
    trigger(u"mnusaveas"_s);
}

void SoakDriver::insertTileset()
{
    note(u"Insert"_s);
    if (!requireDocument(u"mnuinsert"_s))
        return;
    note(u"at %1"_s.arg(m.selectedTileset));
    m.insert();
    trigger(u"mnuinsert"_s);
}

void SoakDriver::deleteTileset()
{
    note(u"Delete"_s);
    if (!requireDocument(u"mnudelete"_s))
        return;
    note(u"%1 of %2"_s.arg(m.selectedTileset).arg(m.tilesetCount()));
    m.remove();
    trigger(u"mnudelete"_s);
}

std::function<void(QDialog &)> SoakDriver::tilesetChoice(const QStringList &items, int choice)
{
    return [this, items, choice](QDialog &dialog) {
        auto *form = qobject_cast<Form5 *>(&dialog);
        if (!form) {
            problem(u"expected Select tileset, got "_s + dialog.windowTitle());
            dialog.reject();
            return;
        }
        if (form->windowTitle() != u"Select tileset"_s)
            problem(u"Select tileset is titled "_s + form->windowTitle());
        QStringList shown;
        for (int i = 0; i < form->Combo1->count(); ++i)
            shown.append(form->Combo1->itemText(i));
        if (shown != items) {
            qsizetype i = 0;
            while (i < shown.size() && i < items.size() && shown[i] == items[i])
                ++i;
            problem(u"Select tileset lists %1 items, expected %2; first difference at %3: %4"_s
                        .arg(shown.size())
                        .arg(items.size())
                        .arg(i)
                        .arg(quoted(i < shown.size() ? shown[i] : QString())));
        }
        if (form->Combo1->currentIndex() != 0)
            problem(u"Select tileset opened on item %1"_s.arg(form->Combo1->currentIndex()));
        if (choice >= 0) {
            form->Combo1->setCurrentIndex(choice);
            form->Command1->click();
        } else {
            form->Command2->click();
        }
    };
}

void SoakDriver::copyTileset()
{
    note(u"Copy"_s);
    if (!requireDocument(u"mnucopy"_s))
        return;
    const int choice = chance(20) ? -1 : below(m.tilesetCount());
    note(u"%1 onto %2"_s.arg(choice).arg(m.selectedTileset));
    QStringList items;
    for (int t = 0; t < m.tilesetCount(); ++t)
        items.append(tilesetNumber(t) + u". "_s + fromCodePage(beforeNul(m.table.names[t])));
    mFixture.services.onDialog(tilesetChoice(items, choice));
    if (choice >= 0)
        m.copyFrom(choice);
    trigger(u"mnucopy"_s);
}

void SoakDriver::importTileset()
{
    note(u"Import"_s);
    if (!requireDocument(u"mnuimport"_s))
        return;
    const bool goOn = !chance(15);
    mFixture.services.answer(goOn ? Answer::Ok : Answer::Cancel);
    m.expect(u"The currently selected tileset will be overwritten. Continue?"_s, u"Changes made"_s,
             DocumentModel::Buttons::OkCancel, DocumentModel::Icon::Question);
    note(goOn ? u"Ok"_s : u"Cancel"_s);
    if (goOn) {
        const QStringList choices = openChoices();
        const QString path = chance(10) ? QString() : choices[below(int(choices.size()))];
        chooseFile(path, u"Import from other file"_s, false);
        Table pending;
        if (!path.isEmpty() && m.importRead(path, pending)) {
            const int choice = chance(20) ? -1 : below(pending.tilesetCount());
            note(u"tileset %1 onto %2"_s.arg(choice).arg(m.selectedTileset));
            QStringList items;
            for (int t = 0; t < pending.tilesetCount(); ++t)
                items.append(tilesetNumber(t) + u". "_s +
                             fromCodePage(beforeNul(pending.names[t])));
            mFixture.services.onDialog(tilesetChoice(items, choice));
            if (choice >= 0)
                m.importChosen(pending, choice);
        }
        if (!path.isEmpty())
            m.importRelabel();
    }
    trigger(u"mnuimport"_s);
}

void SoakDriver::toggleDescriptions()
{
    note(u"Show descriptions"_s);
    if (!m.descEnabled) {
        note(u"(disabled)"_s);
        if (mFixture.trigger(u"mnudisplaynames"_s))
            problem(u"Show descriptions could be chosen while disabled"_s);
        return;
    }
    m.toggleDescriptions();
    trigger(u"mnudisplaynames"_s);
}

void SoakDriver::fileInfo()
{
    note(u"File info"_s);
    if (!requireDocument(u"mnufileinfo"_s))
        return;
    const QStringList expected{m.fileTitle, m.fileFolder, QString::number(m.tilesetCount()),
                               QString::number(m.entryCount())};
    mFixture.services.onDialog([this, expected](QDialog &dialog) {
        auto *form = qobject_cast<Form3 *>(&dialog);
        if (!form) {
            problem(u"File info showed "_s + dialog.windowTitle());
            dialog.reject();
            return;
        }
        const QStringList shown{form->Label5->text(), form->Label6->text(), form->Label7->text(),
                                form->Label8->text()};
        if (form->windowTitle() != u"File info"_s || shown != expected)
            problem(u"File info shows [%1], expected [%2]"_s.arg(shown.join(u" | "_s),
                                                                 expected.join(u" | "_s)));
        form->Command1->click();
    });
    trigger(u"mnufileinfo"_s);
}

void SoakDriver::cancelShutdown()
{
    note(u"Shut down"_s);
    if (!m.changes) {
        note(u"(skipped: nothing unsaved, it would end the run)"_s);
        return;
    }
    mFixture.services.answer(Answer::Cancel);
    m.expect(u"Save changes before closing file?"_s, u"Changes made"_s,
             DocumentModel::Buttons::YesNoCancel, DocumentModel::Icon::Exclamation);
    note(u"prompt Cancel"_s);
    if (chance(50)) {
        trigger(u"mnuquit"_s);
    } else if (mFixture.close()) {
        problem(u"the window closed although Cancel was answered"_s);
    }
    if (!mFixture.window().isVisible())
        problem(u"the window is gone after Cancel at the shutdown prompt"_s);
}
