#pragma once

#include <QString>
#include <QStringList>

// Member names as the engine sees them: whether a name is safe to write on a platform,
// and where a member lands under the extraction directory.

enum class NamePlatform { Unix, Windows };

// The platform the program runs on.
NamePlatform HostPlatform();

// Why the member name is unsafe to extract on the platform, or an empty text when it is
// safe. Backslashes count as separators, as on the systems that write them. Unsafe
// everywhere: an empty name, an absolute name, a ".." component, a component named like
// the extraction's marker. On Windows also: a drive
// letter, a ":" anywhere, a component Windows would shorten (ending in a dot or a blank),
// a device name (CON, NUL, COM1...), control characters and the characters <>"|?*.
QString UnsafeNameReason(const QString &name, NamePlatform platform);

struct MemberPath {
    QString unsafe;           // why the name is refused; empty when it is safe
    bool folder = false;      // a folder entry (the name ends in "/" or "\")
    QStringList folders;      // folders under the extraction directory, outermost first
    QString fileName;         // last component; empty for a folder entry
    QString relative() const; // folders and file name joined with "/"
};

// Splits a member name into the place it lands, refusing it (unsafe set) by the rule of
// the platform the program runs on. "." and empty components are dropped.
MemberPath ResolveMemberPath(const QString &name);
