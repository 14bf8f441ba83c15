#pragma once

#include <QDateTime>
#include <QObject>
#include <QTimer>

#include <memory>

class PlatformServices;
class QLockFile;
class QWidget;
class RecoveryFile;
class TilesetDocument;

// Keeps a copy of the document while it holds unsaved changes, so that a crash or a power
// cut costs at most the last seconds of typing, and offers a copy left behind at the next
// start. Each editor has its own copy and, beside it, a lock it holds while it runs: a copy
// whose lock nobody holds was left by an editor that stopped.
class RecoveryController : public QObject
{
    Q_OBJECT

public:
    // folder empty: no copy is kept and none offered.
    RecoveryController(TilesetDocument *document, const QString &folder, QObject *parent);
    ~RecoveryController() override;

    // Asks about each copy left behind, the newest first. Yes opens it into the document,
    // unsaved and with its path, and ends the asking (the others wait for the next start);
    // No deletes it. True when a copy was opened.
    bool offerLeftCopies(QWidget *window, PlatformServices &services);
    // Nothing is left to recover: saved, closed, or the editor quits normally.
    void discard();

private:
    void documentChanged();
    void writeCopy();

    TilesetDocument *mDocument;
    QString mFolder;
    std::unique_ptr<QLockFile> mLock;
    // Declared after the lock, so that its writing ends before the lock goes.
    std::unique_ptr<RecoveryFile> mFile; // none without a folder and a lock of its own
    // The copy is written when mQuiet runs out after the last change or, while changes go
    // on, when mLongest runs out after the first one it does not hold yet.
    QTimer mQuiet;
    QTimer mLongest;
    QDateTime mLastChange;
    bool mCopyKept = false; // written, or on its way
};
