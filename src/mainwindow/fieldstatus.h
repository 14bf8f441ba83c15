#pragma once

#include <QLabel>

class FieldCursor;
class LabelTree;
class TilesetDocument;

// The status bar's account of the current field: where it is and how it is stored, its
// bytes in the tool tip, or the characters typed while a label of the trees is edited.
class FieldStatus : public QLabel
{
    Q_OBJECT

public:
    FieldStatus(const TilesetDocument *document, const FieldCursor *cursor, LabelTree *names,
                LabelTree *entries, QWidget *parent = nullptr);

    void refresh();

private:
    void showTypedCount(bool name, const QString &text);
    QString place(int tileset, int entry) const;

    const TilesetDocument *mDocument;
    const FieldCursor *mCursor;
};
