#include "imagelist.h"

#include "svgicon.h"

#include <QString>

#include <array>

QIcon ImageList::icon(int index)
{
    // Built once: every entry node asks for one of these.
    static const std::array<QIcon, 20> icons = [] {
        std::array<QIcon, 20> list;
        for (int i = 0; i < 20; ++i)
            list[i] =
                svgIcon(QStringLiteral(":/icons/image%1.svg").arg(i + 1, 2, 10, QLatin1Char('0')));
        return list;
    }();
    return index >= 1 && index <= 20 ? icons[index - 1] : QIcon();
}
