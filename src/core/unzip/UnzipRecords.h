#pragma once

#include <QString>
#include <QtGlobal>

// The two records the extraction bridge fills for every archive and the engine reads:
// the options (fifteen flags, then the archive and the extraction directory) and the
// callbacks through which the engine prints, asks and reports.

// Flags are 0 or 1 unless noted. The engine honours PromptToOverwrite, Quiet, ListOnly,
// RecreateFolders, OverwriteAll and CaseInsensitive. The others are accepted so the
// record keeps its shape, but the launch never sets them and the engine ignores them:
// ExtractOnlyNewer, SpaceToUnderscore, WriteToStdOut, TestOnly, Update, ShowComment,
// TranslateLineEnds, Verbose and RestoreRights.
struct UnzipOptions {
    int ExtractOnlyNewer = 0;  // 1: extract only files newer than those on disk (ignored)
    int SpaceToUnderscore = 0; // 1: blanks in names become underscores (ignored)
    int PromptToOverwrite = 0; // 1: ask the replace callback before replacing a file
    int Quiet = 0;             // 0 every message, 1 warnings only, 2 nothing
    int WriteToStdOut = 0;     // 1: members to standard output (ignored)
    int TestOnly = 0;          // 1: test the archive only (ignored)
    int ListOnly = 0;          // 1: report members to the message callback, write nothing
    int Update = 0;            // 1: extract only new and newer members (ignored)
    int ShowComment = 0;       // 1: print the archive comment (ignored)
    int RecreateFolders = 0;   // 1: keep the archive's folders; 0: bare names only
    int OverwriteAll = 0;      // 1: replace existing files without asking
    int TranslateLineEnds = 0; // 1: convert text line ends (ignored)
    int Verbose = 0;           // 1: detailed archive information (ignored)
    int CaseInsensitive = 0;   // 1: include and exclude names match in any case
    int RestoreRights = 0;     // 1: restore access rights (ignored)
    QString ArchivePath;       // the zip archive
    QString ExtractDir;        // where members go; empty: the current directory
};

// Answers of the replace callback.
enum UnzipReplaceAnswer {
    UnzipSkipThisFile = 100, // keep the file on disk
    UnzipOverwriteThisFile = 102,
    UnzipOverwriteNoFile = 104, // keep this file and every later one, without asking again
};

// Answers of the password callback.
enum UnzipPasswordAnswer {
    UnzipPasswordGiven = 0, // the password argument holds a password to try
    UnzipPasswordSkip = 1,  // no password: the member is skipped
};

// Prints one piece of text (member lines and warnings, each ending in "\n").
using UnzipPrintFn = int (*)(const QString &text);
// Never set by the program; there is no sound.
using UnzipSoundFn = void (*)();
// Asked, when asking is on, for an existing file; returns an UnzipReplaceAnswer.
using UnzipReplaceFn = int (*)(const QString &fileName);
// Asked for an encrypted member; returns an UnzipPasswordAnswer.
using UnzipPasswordFn = int (*)(QString &password, const QString &prompt,
                                const QString &memberName);
// Called once per member when listing. Year is the full year; compressionFactor is the
// saving in percent; flag is 'd' for a folder entry, ' ' otherwise.
using UnzipMessageFn = void (*)(quint64 uncompressedSize, quint64 compressedSize,
                                int compressionFactor, int month, int day, int year, int hour,
                                int minute, char flag, const QString &memberName,
                                const QString &methodName, quint32 crc, bool encrypted);

struct UnzipCallbacks {
    UnzipPrintFn Print = nullptr;
    UnzipSoundFn Sound = nullptr;
    UnzipReplaceFn Replace = nullptr;
    UnzipPasswordFn Password = nullptr;
    UnzipMessageFn Message = nullptr;
    // Filled by the engine; nothing in the program reads them.
    quint64 TotalCompressedSize = 0;
    quint64 TotalUncompressedSize = 0;
    int CompressionFactor = 0;
    int MemberCount = 0;
    bool HasComment = false;
};
