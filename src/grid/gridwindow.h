#pragma once

#include <QWidget>

class ComparisonState;
class FieldCursor;
class TilesetDocument;
class TilesetGrid;
class TilesetGridModel;

// "All tilesets": a window of its own beside the main window holding the grid of every
// tileset's fields. It keeps its size and place in settingsFile between runs.
class GridWindow : public QWidget
{
    Q_OBJECT

public:
    GridWindow(const TilesetDocument *document, const ComparisonState *comparison,
               FieldCursor *cursor, const QString &settingsFile, QWidget *parent = nullptr);
    ~GridWindow() override;

    TilesetGridModel *model() const { return mModel; }
    TilesetGrid *grid() const { return mGrid; }

protected:
    void hideEvent(QHideEvent *event) override;

private:
    void writeGeometry();

    TilesetGridModel *mModel;
    TilesetGrid *mGrid;
    QString mSettingsFile;
};
