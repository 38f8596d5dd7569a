#pragma once

#include "core/files/TextFile.h"

#include <vector>

namespace zanku {

// "Zanku.ini" or a ROM list as read: its records, and what the file was read as, which a
// save later hands back so that nothing written since is lost.
template <typename Record> struct ListRead {
    std::vector<Record> records;
    TextReadResult::Status status = TextReadResult::Missing;
    QString error;            // why it could not be read
    FileVersion version;      // what it was read as
    bool pastVersion = false; // "Zanku.ini" only: written by a past version
};

} // namespace zanku
