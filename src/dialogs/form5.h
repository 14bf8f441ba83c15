#pragma once

#include <QDialog>

class QComboBox;
class QPushButton;
class TilesetTable;

// "Select tileset": lists the tilesets of a table (the document's for a copy, the other
// file's for an import); ImportChoice() is the chosen index, -1 when cancelled.
class Form5 : public QDialog
{
    Q_OBJECT

public:
    explicit Form5(const TilesetTable &tilesets, QWidget *parent = nullptr);

    int ImportChoice() const { return mImportChoice; }

    // "07. " and the name up to its first NUL.
    static QString itemText(int index, QByteArrayView name);

    QComboBox *Combo1;
    QPushButton *Command1;
    QPushButton *Command2;

    void done(int result) override;

private:
    int mImportChoice = -1;
};
