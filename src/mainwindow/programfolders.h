#pragma once

#include <QString>

// Where the editor finds and keeps its files: beside the program, as the original kept
// them, or, for an installed program or one whose folder it cannot write, in the user's
// own configuration folder and the installation's shared folders.
struct ProgramFolders
{
    QString program; // the executable's folder
    QString user;    // the user's configuration folder: recent files, settings if need be
    QString data;    // an installation's data folder (desc.txt); empty when not installed
    QString doc;     // an installation's documentation folder (readme.txt)
    // Copies of unsaved documents, kept in case the editor stops; empty keeps none.
    QString recovery;

    // The running program's folders.
    static ProgramFolders ofApplication();
    // Everything in one folder, the user's files (recovery copies too) in a subfolder of it.
    static ProgramFolders portable(const QString &folder);

    // An installed program is one that finds its installation's shared folders.
    bool isInstalled() const { return !data.isEmpty() || !doc.isEmpty(); }
    // hmktse.ini as read: the one written, when it is there, else the user's, else the one
    // beside the program; empty when there is none.
    QString settingsToRead() const;
    // hmktse.ini as written: beside a program not installed whose folder can be written,
    // else the user's.
    QString settingsToWrite() const;
    // desc.txt: beside the program, else the user's, else installed; empty when none is.
    QString descriptionFile() const;
    // readme.txt: beside the program, else installed; the path beside the program when
    // neither is there, for the message that names it.
    QString readmeFile() const;
    QString recentFilesStore() const;
};
