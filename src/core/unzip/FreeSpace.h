#pragma once

#include <QString>
#include <QtGlobal>

// The closest folder that exists on the way to path (which may not exist yet): the one
// whose volume an extraction into path fills.
QString ExistingAncestor(const QString &path);

// The free space of the volume holding the directory, through the installed probe.
qint64 UnzipFreeSpace(const QString &directory);
