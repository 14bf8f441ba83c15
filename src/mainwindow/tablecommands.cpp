#include "tablecommands.h"

#include "fieldformat.h"
#include "platformservices.h"
#include "tablefile.h"
#include "textutils.h"
#include "tilesetdocument.h"

#include <QFileInfo>
#include <QWidget>

using namespace Qt::StringLiterals;

namespace {

const QStringList FormatFilters = {u"XLSX workbook, every cell text (*.xlsx)"_s,
                                   u"CSV, UTF-8 (*.csv)"_s, u"TSV, UTF-8 (*.tsv)"_s};

} // namespace

TableCommands::TableCommands(TilesetDocument *document, PlatformServices &services, QWidget *window)
    : QObject(window)
    , mDocument(document)
    , mServices(services)
    , mWindow(window)
{}

void TableCommands::exportTable()
{
    PlatformServices::FileRequest request;
    request.mode = PlatformServices::FileRequest::Save;
    request.title = u"Export table"_s;
    request.fileName =
        (mDocument->isUntitled() ? u"hmkset"_s
                                 : QFileInfo(mDocument->filePath()).completeBaseName()) +
        u".xlsx"_s;
    request.filters = FormatFilters;
    request.defaultSuffix = u"xlsx"_s;
    const QString path = mServices.fileDialog(mWindow, request);
    if (path.isEmpty())
        return;
    if (QString reason; !writeTableFile(mDocument->table(), path, &reason)) {
        mServices.notify(mWindow, u"The table could not be written."_s, request.title,
                         PlatformServices::Icon::Exclamation, path + u": "_s + reason);
        return;
    }
    Q_EMIT statusMessage(u"Exported the table to "_s + QFileInfo(path).fileName());
}

void TableCommands::importTable()
{
    PlatformServices::FileRequest request;
    request.title = u"Import table"_s;
    request.filters = QStringList{u"Tables (*.xlsx *.csv *.tsv)"_s} + FormatFilters +
                      QStringList{u"All files (*.*) (*)"_s};
    const QString path = mServices.fileDialog(mWindow, request);
    if (path.isEmpty())
        return;
    QString reason;
    const std::optional<TextRows> rows = readTableFile(path, &reason);
    if (!rows) {
        mServices.notify(mWindow, u"The table could not be read."_s, request.title,
                         PlatformServices::Icon::Exclamation, path + u": "_s + reason);
        return;
    }
    TableImport imported = ::importTable(mDocument->table(), *rows);
    if (!imported.refusal.isEmpty()) {
        mServices.notify(mWindow, imported.refusal + u" Nothing imported."_s, request.title,
                         PlatformServices::Icon::Exclamation, path);
        return;
    }
    const int count = mDocument->tilesetCount();
    const int added = imported.addedTilesets;
    const QString question =
        added == 1
            ? u"The table adds tileset %1 after the last one. Add it?"_s.arg(tilesetNumber(count))
            : u"The table adds %1 tilesets after the last one (%2 to %3). Add them?"_s.arg(
                  QString::number(added), tilesetNumber(count), tilesetNumber(count + added - 1));
    if (added > 0 &&
        mServices.messageBox(mWindow, question, request.title, PlatformServices::Buttons::OkCancel,
                             PlatformServices::Icon::Question) != PlatformServices::Answer::Ok)
        return;
    if (imported.changedFields == 0) {
        Q_EMIT statusMessage(u"Imported the table: nothing to change"_s);
        return;
    }
    const QString fields = counted(imported.changedFields, u"field"_s, u"fields"_s);
    mDocument->apply(u"import table: "_s + fields, std::move(imported.edit), 0, -1);
    Q_EMIT statusMessage(u"Imported the table: %1 changed"_s.arg(fields));
}
