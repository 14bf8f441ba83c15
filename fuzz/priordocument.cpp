#include "priordocument.h"

#include <QString>

using namespace Qt::StringLiterals;

Document priorDocument(int tilesetCount, int entryCount, bool changesMade)
{
    Document document;
    document.tilesets = TilesetTable(tilesetCount, entryCount);
    for (int k = 0; k < tilesetCount; ++k) {
        document.tilesets.setTilesetName(
            k, storeFixedText("Prior " + QByteArray::number(k), NameWidth));
        for (int j = 0; j < entryCount; ++j) {
            const QByteArray text = "p" + QByteArray::number(k) + "_" + QByteArray::number(j);
            document.tilesets.setEntry(j, k, storeFixedText(text, EntryWidth));
        }
    }
    document.filePath = u"/prior/hmkset.dat"_s;
    document.fileTitle = u"hmkset.dat"_s;
    document.fileFolder = u"/prior"_s;
    document.lastOpenedPath = u"/prior/hmkset.dat"_s;
    document.changesMade = changesMade;
    document.loadSucceeded = true; // a load must clear it before anything can fail
    return document;
}

bool sameDocument(const Document &a, const Document &b)
{
    return a.tilesets == b.tilesets && a.filePath == b.filePath && a.fileTitle == b.fileTitle &&
           a.fileFolder == b.fileFolder && a.lastOpenedPath == b.lastOpenedPath &&
           a.changesMade == b.changesMade;
}
