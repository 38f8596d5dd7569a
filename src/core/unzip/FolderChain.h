#pragma once

#include "core/unzip/ArchiveFile.h"

#include <QStringList>

#include <vector>

// The folders under the extraction directory, reached with the *at() calls from its
// descriptor and never through a link, so nothing already on disk can lead a member out
// of it. The folders of the last member stay open: a member in the same folder, or a
// neighbouring one, opens only the components that differ.
class FolderChain {
public:
    explicit FolderChain(int root)
        : root_(root)
    {
    }
    // Opens (creating as needed) the folders, outermost first. Returns a descriptor valid
    // until the next call, or -1 with the reason and the status: 1 when a link or a file
    // is in the way or the file system cannot hold a folder's name, 50 when the folder
    // cannot be written.
    int open(const QStringList &folders, QString &why, int &status);

private:
    int root_;
    std::vector<Descriptor> chain_;
    QStringList names_;
};

// The extraction directory, made when missing and opened as the root of the folders under
// it; an invalid descriptor when it cannot be made or opened.
Descriptor OpenExtractionRoot(const QString &extractDir);

// Whether a folder stands where a member's file would go (it is left alone: a file there
// is replaced, a folder is not).
bool FolderStandsAt(int parent, const QString &fileName);

// The text of a system error number.
QString SystemError(int error);

// Whether a create or rename failed on the name itself: longer than the file system
// holds (a component over 255 bytes on most), or with characters it refuses. Such a
// member is skipped; the next ones may well be written.
bool NameRefused(int error);
