#pragma once

// Status numbers of an extraction, the exit codes command-line unzip tools have long
// documented, so a player can look a number up. When several problems meet, the highest
// number wins.
enum UnzipStatus {
    UnzipOk = 0,
    UnzipWarning = 1,        // done, but some members were skipped (encrypted, unsafe...)
    UnzipFormatError = 2,    // a format error in the archive (bad CRC, for one)
    UnzipSevereError = 3,    // corrupt data, a directory that disagrees with its entries
    UnzipNotFound = 9,       // archive not found, or not a zip archive
    UnzipDiskFull = 50,      // not enough room on the target volume, or a write error
    UnzipUnexpectedEnd = 51, // the archive ends too early (truncated)
    UnzipUnsupported = 81,   // unsupported compression method or encryption
    UnzipAllEncrypted = 82,  // nothing extracted: every member was encrypted
};
