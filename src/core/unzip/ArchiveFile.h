#pragma once

#include <QString>
#include <QtGlobal>

#include <utility>

// Closes a descriptor when it goes out of scope.
class Descriptor {
public:
    explicit Descriptor(int fd = -1)
        : fd_(fd)
    {
    }
    ~Descriptor() { reset(); }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    Descriptor(Descriptor &&other) noexcept
        : fd_(std::exchange(other.fd_, -1))
    {
    }
    Descriptor &operator=(Descriptor &&other) noexcept
    {
        if (this != &other) {
            reset();
            fd_ = std::exchange(other.fd_, -1);
        }
        return *this;
    }
    int get() const { return fd_; }
    void reset();

private:
    int fd_;
};

// The archive, open for one extraction. It is read with pread only, never mapped: another
// program may shorten the file at any moment, and a read past its new end then comes back
// short (an error the caller reports) instead of killing the program.
class ArchiveFile {
public:
    // Opens a regular file without blocking (a FIFO or a device in its place is refused,
    // never waited on). False with the reason when it cannot be read as an archive.
    bool open(const QString &path, QString &why);
    int fd() const { return fd_.get(); }
    // The size when it was opened.
    quint64 size() const { return size_; }
    // Reads exactly size bytes at offset; false when the file ends first or cannot be read.
    bool readAt(quint64 offset, void *buffer, size_t size) const;

private:
    Descriptor fd_;
    quint64 size_ = 0;
};
