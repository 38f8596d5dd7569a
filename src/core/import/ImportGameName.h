#pragma once

#include <QString>
#include <QStringView>

// The game name the import suggests for a file, folder or archive: its base name with "_"
// and "." as blanks, then trimmed.
QString ImportName(QStringView baseName);
