#pragma once

#include <QString>
#include <QStringList>

// Member names as the engine sees them: where a member may land under the extraction
// directory, and the wildcard match of the include and exclude tables.

struct MemberPath {
    bool safe = false;        // false: the name could reach outside the extraction directory
    bool folder = false;      // a folder entry (the name ends in "/" or "\")
    QStringList folders;      // folders under the extraction directory, outermost first
    QString fileName;         // last component; empty for a folder entry
    QString relative() const; // folders and file name joined with "/"
};

// Splits a member name into the place it lands. Backslashes count as separators, as on
// the systems that wrote them; "." and empty components are dropped. Refused (safe
// false): absolute names, drive letters, ".." components, components made only of dots
// and blanks (which Windows shortens to ".."), colons and control characters. Without
// recreateFolders only the last component is kept.
MemberPath ResolveMemberPath(const QString &name, bool recreateFolders);

// Wildcard match of a whole member name: "*" any run of characters (also "/"), "?" one
// character, "[...]" one of a set ("[!...]" or "[^...]" none of it, "a-z" ranges).
bool MatchesWildcard(const QString &pattern, const QString &name, bool caseInsensitive);
