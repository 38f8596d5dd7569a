#pragma once

#include <QString>

#include <optional>

#include <zip.h>

// The name of member index as the whole program reads it, so the import lists the very
// names the extraction writes: a name flagged UTF-8 is UTF-8, every other one code page
// 437, even where its bytes would read as UTF-8. Fills st, its name decoded by that rule;
// no name when libzip cannot read the entry.
std::optional<QString> MemberName(zip_t *archive, zip_uint64_t index, zip_stat_t &st);
