#include "core/unzip/MemberData.h"

#include "core/common/CoreText.h"
#include "core/unzip/ArchiveFile.h"
#include "core/unzip/Crc32.h"
#include "core/unzip/MemberWriter.h"
#include "core/unzip/ZipDirectory.h"

#include <zlib.h>

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <future>

namespace {

constexpr size_t InSize = size_t(4) << 20;
constexpr size_t OutSize = size_t(1) << 20;
// A stored member is copied and checked in pieces of this size, so each piece is checked
// while it is still in the processor's cache; from this size on, on a second thread.
constexpr size_t StoredPiece = size_t(1) << 20;
constexpr quint64 ThreadedCrc = quint64(8) << 20;

int endsEarly(QString &why)
{
    why = zanku::CoreText::tr("the archive ends too early");
    return 51;
}

int sizeDiffers(bool larger, QString &why)
{
    why = larger ? zanku::CoreText::tr("the data is larger than its declared size")
                 : zanku::CoreText::tr("the data is shorter than its declared size");
    return 3;
}

int checkCrc(uLong crc, const ZipEntry &entry, QString &why)
{
    if (crc == entry.crc)
        return 0;
    why = zanku::CoreText::tr("bad CRC");
    return 2;
}

int statusForZipError(int code)
{
    switch (code) {
    case ZIP_ER_CRC:
        return 2;
    case ZIP_ER_EOF:
    case ZIP_ER_READ:
    case ZIP_ER_SEEK:
        return 51;
    case ZIP_ER_COMPNOTSUPP:
    case ZIP_ER_ENCRNOTSUPP:
        return 81;
    case ZIP_ER_WRONGPASSWD:
    case ZIP_ER_NOPASSWD:
        return 1;
    default:
        return 3;
    }
}

// Copies one piece from the archive to out inside the kernel; the number of bytes copied,
// 0 when the archive ended, -1 with errno set when the call failed.
ssize_t copyPiece(int in, quint64 offset, int out, size_t size)
{
    loff_t from = loff_t(offset);
    for (;;) {
        const ssize_t copied = ::copy_file_range(in, &from, out, nullptr, size, 0);
        if (copied >= 0 || errno != EINTR)
            return copied;
    }
}

// Adds size bytes of the archive at offset to crc, read through buffer (StoredPiece bytes
// or more); false when the archive ends first.
bool crcOf(const ArchiveFile &file, quint64 offset, quint64 size, unsigned char *buffer, uLong &crc)
{
    while (size > 0) {
        const size_t piece = size_t(std::min<quint64>(size, StoredPiece));
        if (!file.readAt(offset, buffer, piece))
            return false;
        crc = Crc32(crc, buffer, piece);
        offset += piece;
        size -= piece;
    }
    return true;
}

// A stored member where the system refuses the in-kernel copy.
int readCheckAndWrite(const ArchiveFile &file, const ZipEntry &entry, int out,
                      unsigned char *buffer, QString &why)
{
    uLong crc = crc32(0, nullptr, 0);
    for (quint64 done = 0; done < entry.size;) {
        const size_t piece = size_t(std::min<quint64>(entry.size - done, StoredPiece));
        if (!crcOf(file, entry.dataOffset + done, piece, buffer, crc))
            return endsEarly(why);
        if (const int status = WriteAll(out, buffer, piece, why))
            return status;
        done += piece;
    }
    return checkCrc(crc, entry, why);
}

} // namespace

MemberBuffers::MemberBuffers()
    : in(new unsigned char[InSize])
    , out(new unsigned char[OutSize])
{
}

int CopyStored(const ArchiveFile &file, const ZipEntry &entry, int out, MemberBuffers &buffers,
               QString &why)
{
    if (entry.compressedSize != entry.size)
        return sizeDiffers(entry.compressedSize > entry.size, why);
    // The kernel copies the bytes while the CRC is taken from the archive: on a second
    // thread for a large member, piece by piece for a small one.
    uLong crc = crc32(0, nullptr, 0);
    std::future<bool> crcJob; // waits for the thread when left early
    quint64 done = 0;
    while (done < entry.size) {
        const size_t piece = size_t(std::min<quint64>(entry.size - done, StoredPiece));
        const ssize_t copied = copyPiece(file.fd(), entry.dataOffset + done, out, piece);
        if (copied < 0 && done == 0 &&
            (errno == EXDEV || errno == ENOSYS || errno == EOPNOTSUPP || errno == EINVAL ||
             errno == EBADF))
            return readCheckAndWrite(file, entry, out, buffers.in.get(), why); // refused here
        if (copied < 0)
            return WriteFailure(errno, why);
        if (copied == 0)
            return endsEarly(why);
        if (done == 0 && entry.size >= ThreadedCrc) {
            crcJob = std::async(std::launch::async | std::launch::deferred, [&] {
                return crcOf(file, entry.dataOffset, entry.size, buffers.out.get(), crc);
            });
        } else if (!crcJob.valid() &&
                   !crcOf(file, entry.dataOffset + done, quint64(copied), buffers.in.get(), crc)) {
            return endsEarly(why);
        }
        done += quint64(copied);
    }
    if (crcJob.valid() && !crcJob.get())
        return endsEarly(why);
    return checkCrc(crc, entry, why);
}

int CopyDeflated(const ArchiveFile &file, const ZipEntry &entry, int out, MemberBuffers &buffers,
                 QString &why)
{
    z_stream stream{};
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) {
        why = zanku::CoreText::tr("out of memory");
        return 3;
    }
    struct InflateEnd {
        z_stream *stream;
        ~InflateEnd() { inflateEnd(stream); }
    } inflateEnd{&stream};

    quint64 rawLeft = entry.compressedSize;
    quint64 rawAt = entry.dataOffset;
    quint64 produced = 0;
    uLong crc = crc32(0, nullptr, 0);
    for (;;) {
        if (stream.avail_in == 0) {
            if (rawLeft == 0) {
                why = zanku::CoreText::tr("the compressed data ends too early");
                return 3;
            }
            const size_t piece = size_t(std::min<quint64>(rawLeft, InSize));
            if (!file.readAt(rawAt, buffers.in.get(), piece))
                return endsEarly(why);
            rawAt += piece;
            rawLeft -= piece;
            stream.next_in = buffers.in.get();
            stream.avail_in = uInt(piece);
        }
        stream.next_out = buffers.out.get();
        stream.avail_out = uInt(OutSize);
        const int rc = inflate(&stream, Z_NO_FLUSH);
        const size_t have = OutSize - stream.avail_out;
        if (have > 0) {
            produced += have;
            if (produced > entry.size)
                return sizeDiffers(true, why);
            crc = Crc32(crc, buffers.out.get(), have);
            if (const int status = WriteAll(out, buffers.out.get(), have, why))
                return status;
        }
        if (rc == Z_STREAM_END)
            break;
        if (rc != Z_OK && rc != Z_BUF_ERROR) {
            why = zanku::CoreText::tr("corrupt compressed data");
            return 3;
        }
    }
    if (produced != entry.size)
        return sizeDiffers(false, why);
    return checkCrc(crc, entry, why);
}

int CopyThroughLibzip(zip_t *archive, zip_uint64_t index, quint64 size, int out,
                      MemberBuffers &buffers, QString &why)
{
    struct Closer {
        void operator()(zip_file_t *file) const { zip_fclose(file); }
    };
    const std::unique_ptr<zip_file_t, Closer> file(zip_fopen_index(archive, index, 0));
    if (!file) {
        why = QString::fromUtf8(zip_strerror(archive));
        return statusForZipError(zip_error_code_zip(zip_get_error(archive)));
    }
    quint64 produced = 0;
    for (;;) {
        const zip_int64_t got = zip_fread(file.get(), buffers.out.get(), OutSize);
        if (got < 0) {
            why = QString::fromUtf8(zip_file_strerror(file.get()));
            return statusForZipError(zip_error_code_zip(zip_file_get_error(file.get())));
        }
        if (got == 0)
            break;
        produced += quint64(got);
        if (produced > size)
            return sizeDiffers(true, why);
        if (const int status = WriteAll(out, buffers.out.get(), size_t(got), why))
            return status;
    }
    return produced == size ? 0 : sizeDiffers(false, why);
}
