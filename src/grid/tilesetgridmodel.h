#pragma once

#include "nodemark.h"

#include <QAbstractTableModel>
#include <QByteArray>
#include <QHash>
#include <QStringList>

class ComparisonState;
class TilesetDocument;

// Every field of the open document as a table: a row per tileset, its name in column 0 and
// entry j in column 1 + j. It reads the document's bytes as they are and follows its
// changes cell by cell; the comparison marks the cells as it does the trees' nodes, and each
// cell tells a screen reader which field it is.
class TilesetGridModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    // True for a field never written: every byte NUL, unlike an emptied text.
    static constexpr int NeverWrittenRole = Qt::UserRole + 1;

    TilesetGridModel(const TilesetDocument *document, const ComparisonState *comparison,
                     QObject *parent = nullptr);

    // desc.txt's lines, for the entries' header tool tips.
    void setEntryDescriptions(const QStringList &descriptions) { mDescriptions = descriptions; }

    static int entryOf(const QModelIndex &index) { return index.column() - 1; }
    QModelIndex fieldIndex(int tileset, int entry) const { return index(tileset, entry + 1); }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    // Stores nothing itself: hands the typed text to whoever stores it.
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;

Q_SIGNALS:
    void textEdited(int tileset, int entry, const QString &text);

private:
    void replaceTable();
    void followChange();
    void showMarks();
    QString entryToolTip(int entry) const;

    const TilesetDocument *mDocument;
    const ComparisonState *mComparison;
    int mRows = 0;
    int mColumns = 0;
    QByteArray mShown; // the bytes the view last showed, to tell which cells a step changed
    QHash<qint64, NodeMark> mMarks; // by tileset << 16 | column
    QStringList mDescriptions;
};
