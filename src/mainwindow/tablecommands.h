#pragma once

#include <QObject>

class PlatformServices;
class TilesetDocument;
class QWidget;

// File > Export table... and Import table...: the open tilesets out to a spreadsheet's
// file, and its changed texts back in as one undo step.
class TableCommands : public QObject
{
    Q_OBJECT

public:
    TableCommands(TilesetDocument *document, PlatformServices &services, QWidget *window);

    void exportTable();
    void importTable();

Q_SIGNALS:
    void statusMessage(const QString &text);

private:
    TilesetDocument *mDocument;
    PlatformServices &mServices;
    QWidget *mWindow;
};
