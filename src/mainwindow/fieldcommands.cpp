#include "fieldcommands.h"

#include "fieldclipboard.h"
#include "fieldcursor.h"
#include "platformservices.h"
#include "textutils.h"
#include "tilesetdocument.h"
#include "tilesetgrid.h"

#include <QApplication>
#include <QClipboard>
#include <QMenuBar>
#include <QMimeData>

using namespace Qt::StringLiterals;

FieldCommands::FieldCommands(TilesetDocument *document, FieldCursor *cursor,
                             PlatformServices &services, QWidget *window)
    : QObject(window)
    , mDocument(document)
    , mCursor(cursor)
    , mServices(services)
    , mWindow(window)
{}

void FieldCommands::setGrid(TilesetGrid *grid)
{
    mGrid = grid;
    qApp->installEventFilter(this);
}

bool FieldCommands::eventFilter(QObject *watched, QEvent *event)
{
    // The grid or the trees, whichever the user last clicked or typed in: a click on the main
    // window's menus, or its activation alone, keeps the choice.
    const QEvent::Type type = event->type();
    if ((type == QEvent::MouseButtonPress || type == QEvent::KeyPress ||
         type == QEvent::ShortcutOverride) &&
        watched->isWidgetType() && mGrid && !qobject_cast<QMenuBar *>(watched)) {
        const QWidget *window = static_cast<QWidget *>(watched)->window();
        if (window == mGrid->window() || window == mWindow)
            mInGrid = window == mGrid->window();
    }
    return QObject::eventFilter(watched, event);
}

bool FieldCommands::inGrid() const
{
    return mGrid && mGrid->isVisible() && mInGrid;
}

std::optional<FieldRect> FieldCommands::selection() const
{
    if (!mDocument->isOpen())
        return std::nullopt;
    if (inGrid())
        return mGrid->selectedFields();
    // A placeholder's tileset is not in this file; a category stands for the name.
    const FieldPlace &place = mCursor->place();
    if (place.tileset < 0)
        return std::nullopt;
    return FieldRect{place.tileset, place.onName ? 0 : place.entry + 1, 1, 1};
}

void FieldCommands::copy()
{
    if (const std::optional<FieldRect> fields = selection())
        QApplication::clipboard()->setMimeData(
            fieldsMimeData(copyFields(mDocument->table(), *fields)).release());
}

void FieldCommands::paste()
{
    const std::optional<FieldRect> fields = selection();
    const QMimeData *data = QApplication::clipboard()->mimeData();
    if (!fields || !data)
        return;
    if (const std::optional<FieldBlock> block = fieldsFromMimeData(*data))
        store(u"paste"_s, *fields, *block);
    else
        Q_EMIT statusMessage(u"The clipboard holds no text to paste."_s);
}

void FieldCommands::clear()
{
    if (const std::optional<FieldRect> fields = selection())
        store(u"clear"_s, *fields, FieldBlock{1, 1, {FieldCell{}}});
}

void FieldCommands::fillDown()
{
    if (const std::optional<FieldRect> fields = selection())
        store(u"fill down"_s, *fields, filledDown(copyFields(mDocument->table(), *fields)));
}

void FieldCommands::fillRight()
{
    if (const std::optional<FieldRect> fields = selection())
        store(u"fill right"_s, *fields, filledRight(copyFields(mDocument->table(), *fields)));
}

void FieldCommands::store(const QString &verb, const FieldRect &selection, const FieldBlock &block)
{
    const QString command = verb.at(0).toUpper() + verb.mid(1);
    FieldPaste paste = pasteFields(mDocument->table(), selection, block);
    if (!paste.refusal.isEmpty()) {
        mServices.notify(mWindow, paste.refusal, command, PlatformServices::Icon::Exclamation);
        return;
    }
    if (!mServices.agreesToCut(mWindow, paste.cutFields, command))
        return;
    const FieldRect target = paste.target;
    const QString fields = counted(paste.changedFields, u"field"_s, u"fields"_s);
    if (paste.changedFields == 0)
        Q_EMIT statusMessage(u"Nothing changed: the fields already hold these texts."_s);
    else
        mDocument->apply(verb + u' ' + fields, std::move(paste.edit), target.tileset,
                         target.column - 1);
    if (inGrid())
        mGrid->selectFields(target);
}
