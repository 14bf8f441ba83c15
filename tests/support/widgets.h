#pragma once

#include <QLineEdit>

// Widgets are found the way outside tools find them: by their object names.
template<typename T = QWidget>
T *child(const QObject *parent, const QString &name)
{
    T *found = parent->findChild<T *>(name);
    if (!found)
        qFatal("no child %s", qPrintable(name));
    return found;
}

// The count boxes of New file share one name and tell themselves apart by index.
inline QLineEdit *textBox(const QObject *dialog, int index)
{
    for (QLineEdit *box : dialog->findChildren<QLineEdit *>(QStringLiteral("Text1")))
        if (box->property("index").toInt() == index)
            return box;
    qFatal("no Text1 box %d", index);
}
