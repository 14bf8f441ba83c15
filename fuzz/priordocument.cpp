#include "priordocument.h"

#include <QString>

using namespace Qt::StringLiterals;

Document priorDocument(int tilesetCount, int entryCount, bool changesMade)
{
    Document document;
    document.Tilesets = TilesetTable(tilesetCount, entryCount);
    for (int k = 0; k < tilesetCount; ++k) {
        document.Tilesets.setTilesetName(
            k, StoreFixedText("Prior " + QByteArray::number(k), NameWidth));
        for (int j = 0; j < entryCount; ++j) {
            const QByteArray text = "p" + QByteArray::number(k) + "_" + QByteArray::number(j);
            document.Tilesets.setEntry(j, k, StoreFixedText(text, EntryWidth));
        }
    }
    document.FilePath = u"/prior/hmkset.dat"_s;
    document.FileTitle = u"hmkset.dat"_s;
    document.FileFolder = u"/prior"_s;
    document.LastOpenedPath = u"/prior/hmkset.dat"_s;
    document.ChangesMade = changesMade;
    document.LoadSucceeded = true; // a load must clear it before anything can fail
    return document;
}

bool sameDocument(const Document &a, const Document &b)
{
    return a.Tilesets == b.Tilesets && a.FilePath == b.FilePath && a.FileTitle == b.FileTitle &&
           a.FileFolder == b.FileFolder && a.LastOpenedPath == b.LastOpenedPath &&
           a.ChangesMade == b.ChangesMade;
}
