// Stands in for an emulator in bench-launch: the first thing it does is read the
// monotonic clock, so the benchmark knows when the launched program began to run. It
// writes that moment (nanoseconds of CLOCK_MONOTONIC, the clock the benchmark reads
// too) and the size of the file its last argument names (-1 when there is none) to
// "started.txt" in its working directory, then exits. Only the C library, so its own
// start-up costs next to nothing.

#include <cstdio>
#include <ctime>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

int main(int argc, char *argv[])
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const long long started = (long long)now.tv_sec * 1000000000LL + now.tv_nsec;

    long long size = -1;
    struct stat info {};
    if (argc > 1 && stat(argv[argc - 1], &info) == 0 && S_ISREG(info.st_mode))
        size = (long long)info.st_size;

    char text[96];
    const int length = std::snprintf(text, sizeof text, "started=%lld\nsize=%lld\n", started, size);
    // Written aside and renamed, so the benchmark never reads half a record.
    const int file = open("started.tmp", O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (file < 0)
        return 1;
    const bool written = write(file, text, size_t(length)) == length;
    close(file);
    return written && rename("started.tmp", "started.txt") == 0 ? 0 : 1;
}
