#pragma once

#include <QString>
#include <QStringList>

#include <algorithm>
#include <vector>

// What the import scan finds: one entry of an emulator's folders that could become a line
// of its ROM list, and the order the table shows them in.

enum class ImportKind { File, Folder, Zip };

struct ImportCandidate {
    QString name; // suggested game name
    QString file; // the File of its ROM list line
    ImportKind kind = ImportKind::File;
    QString entry;        // its name on disk: the file, folder or archive
    QString member;       // an archive's game member, as named inside it
    QString problem;      // why it cannot be listed; empty when it can
    bool pending = false; // an archive whose member is not read yet: File is its base name

    QStringList discs;          // an .m3u's discs, in order
    bool writeDiscList = false; // the .m3u is not there yet: Add Checked writes it

    // What the table says beside it: the problem, "inside: x.nes" when the launch will
    // find the game under another name than its member's, or an .m3u's discs.
    QString note() const;
};

// What the import window's Kind column says: "file", "folder", or the archive's kind ("zip",
// "7z", "rar").
QString KindText(const ImportCandidate &candidate);

// The order of the table: by File, without regard to case.
bool ImportFileBefore(const ImportCandidate &a, const ImportCandidate &b);

// Puts rows sorted by File before their archives were read back in that order: only the
// archives can have moved.
template <typename Row, typename Candidate> void SortReadRows(std::vector<Row> &rows, Candidate of)
{
    const auto before = [&of](const Row &a, const Row &b) {
        return ImportFileBefore(of(a), of(b));
    };
    const auto archives = std::stable_partition(rows.begin(), rows.end(), [&of](const Row &row) {
        return of(row).kind != ImportKind::Zip;
    });
    std::stable_sort(archives, rows.end(), before);
    std::inplace_merge(rows.begin(), archives, rows.end(), before);
}
