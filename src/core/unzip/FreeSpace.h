#pragma once

#include <QString>

// The closest folder that exists on the way to path (which may not exist yet): the one
// whose volume an extraction into path fills.
QString ExistingAncestor(const QString &path);
