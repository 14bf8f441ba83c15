#include "gridwindow.h"

#include "tilesetgrid.h"
#include "tilesetgridmodel.h"

#include <QSettings>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

const QString GeometryKey = u"grid/geometry"_s;

} // namespace

GridWindow::GridWindow(const TilesetDocument *document, const ComparisonState *comparison,
                       FieldCursor *cursor, const QString &settingsFile, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , mModel(new TilesetGridModel(document, comparison, this))
    , mGrid(new TilesetGrid(mModel, this))
    , mSettingsFile(settingsFile)
{
    setObjectName(u"GridWindow"_s);
    setWindowTitle(u"All tilesets"_s);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins({});
    layout->addWidget(mGrid);
    mGrid->follow(cursor);
    resize(900, 500);
    restoreGeometry(
        QSettings(mSettingsFile, QSettings::IniFormat).value(GeometryKey).toByteArray());
}

GridWindow::~GridWindow()
{
    // Quitting with the window open does not hide it first.
    if (isVisible())
        writeGeometry();
}

void GridWindow::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    writeGeometry();
}

void GridWindow::writeGeometry()
{
    QSettings(mSettingsFile, QSettings::IniFormat).setValue(GeometryKey, saveGeometry());
}
