#include "gridwindow.h"

#include "tilesetgrid.h"
#include "tilesetgridmodel.h"

#include <QScreen>
#include <QSettings>
#include <QVBoxLayout>

#include <algorithm>

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
    if (restoreGeometry(
            QSettings(mSettingsFile, QSettings::IniFormat).value(GeometryKey).toByteArray()) ||
        !parent)
        return;
    // The first time beside the main window, to its right where the screen has room, else
    // below it, rather than over the trees it moves with.
    const QRect main = parent->window()->frameGeometry();
    const QRect screen = parent->screen()->availableGeometry();
    QPoint place = main.topRight() + QPoint(1, 0);
    if (place.x() + width() > screen.right())
        place = main.bottomLeft() + QPoint(0, 1);
    move(std::clamp(place.x(), screen.left(), std::max(screen.left(), screen.right() - width())),
         std::clamp(place.y(), screen.top(), std::max(screen.top(), screen.bottom() - height())));
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
