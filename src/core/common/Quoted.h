#pragma once

#include <QString>

// A value from a file as a message shows it: at most 200 characters, a longer one cut
// and ended with "…", so that a huge name cannot stall the message box.
QString Quoted(const QString &value);
