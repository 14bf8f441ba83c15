#include "svgicon.h"

#include <QApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPixmapCache>
#include <QStyle>
#include <QStyleOption>
#include <QSvgRenderer>

namespace {

class SvgIconEngine : public QIconEngine
{
public:
    explicit SvgIconEngine(const QString &path)
        : mPath(path)
    {}

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        const qreal ratio = painter->device()->devicePixelRatioF();
        QPixmap picture = scaledPixmap(rect.size(), mode, state, ratio);
        painter->drawPixmap(rect, picture);
    }

    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return scaledPixmap(size, mode, state, 1.0);
    }

    QPixmap scaledPixmap(const QSize &size, QIcon::Mode mode, QIcon::State, qreal scale) override
    {
        const QSize pixels = size * scale;
        if (pixels.isEmpty())
            return {};
        const QString key = QStringLiteral("hmk-svg:%1:%2x%3:%4")
                                .arg(mPath)
                                .arg(pixels.width())
                                .arg(pixels.height())
                                .arg(int(mode));
        QPixmap picture;
        if (!QPixmapCache::find(key, &picture)) {
            picture = QPixmap(pixels);
            picture.fill(Qt::transparent);
            QPainter painter(&picture);
            QSvgRenderer(mPath).render(&painter);
            painter.end();
            if (mode != QIcon::Normal) {
                QStyleOption option;
                option.palette = QApplication::palette();
                picture = QApplication::style()->generatedIconPixmap(mode, picture, &option);
            }
            QPixmapCache::insert(key, picture);
        }
        picture.setDevicePixelRatio(scale);
        return picture;
    }

    QIconEngine *clone() const override { return new SvgIconEngine(mPath); }
    QString key() const override { return QStringLiteral("hmk-svg"); }

private:
    QString mPath;
};

} // namespace

QIcon svgIcon(const QString &path)
{
    return QIcon(new SvgIconEngine(path));
}
