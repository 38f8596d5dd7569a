#pragma once

#include <QString>

#include <ctime>
#include <functional>

// Fills the open temporary file out; returns a status (0 when complete and checked), and
// the reason when it is not 0.
using MemberCopy = std::function<int(int out, QString &why)>;

// Writes one file in the folder parent: under a temporary name no member has, renamed
// over fileName only once copy returned 0, so a failed or interrupted extraction never
// leaves a half-written file under the member's name. mtime < 0: left as written.
// Returns 0, copy's status, 1 when the file system cannot hold fileName, or 50 when the
// file cannot be created or put in place.
int WriteMemberFile(int parent, const QString &fileName, std::time_t mtime, const MemberCopy &copy,
                    QString &why);

// Writes all the bytes to fd. Returns 0, or 50 with the reason ("disk full" when it is).
int WriteAll(int fd, const unsigned char *data, size_t size, QString &why);

// Status 50 and the reason for a failed write or create with this error number.
int WriteFailure(int error, QString &why);
