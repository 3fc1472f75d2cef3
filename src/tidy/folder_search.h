#pragma once

#include <QString>
#include <QStringList>

// The documents of a folder for the folder batch: the folder's own files
// first, then each sub-folder's, depth first. Names are listed in name order
// (a file system's raw order looks random to a user).
struct FolderSearch {
    QStringList files;
    // Folders that could not be listed and names that cannot be handed to a
    // program (bytes that are not text in the system's encoding).
    QStringList unreadable;
};

// Matches the batch's mask "*.htm*" (case-blind, as the desktop's file
// dialogs match).
bool matchesBatchMask(const QString &name);

// Collects the matching files below `folder`; with recurse, sub-folders
// too. A folder reached twice (through symbolic links) is searched once.
FolderSearch collectFiles(const QString &folder, bool recurse);
