#include "Measure.h"

#include <QElapsedTimer>
#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <ctime>

#include <ctime>

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {
double processCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}
} // namespace

double TimeMs(const std::function<void()> &work, double *cpuMs)
{
    const double cpuBefore = processCpuMs();
    QElapsedTimer timer;
    timer.start();
    work();
    const double wall = double(timer.nsecsElapsed()) / 1e6;
    if (cpuMs != nullptr)
        *cpuMs = processCpuMs() - cpuBefore;
    return wall;
}

double Median(std::vector<double> samples)
{
    if (samples.empty())
        return 0.0;
    std::sort(samples.begin(), samples.end());
    const size_t middle = samples.size() / 2;
    return samples.size() % 2 != 0 ? samples[middle]
                                   : (samples[middle - 1] + samples[middle]) / 2.0;
}

bool DropCaches(QString &why)
{
    ::sync();
    const int fd = ::open("/proc/sys/vm/drop_caches", O_WRONLY);
    if (fd < 0) {
        why = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    const bool written = ::write(fd, "3\n", 2) == 2;
    const int writeErrno = errno;
    ::close(fd);
    if (!written) {
        why = QString::fromLocal8Bit(std::strerror(writeErrno));
        return false;
    }
    return true;
}

long StatusKiB(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray &line : status.readAll().split('\n')) {
            if (line.startsWith(field))
                return line.mid(qsizetype(qstrlen(field))).trimmed().split(' ').value(0).toLong();
        }
    }
    return 0;
}

long PeakResidentKiB()
{
    if (const long peak = StatusKiB("VmHWM:"); peak > 0)
        return peak;
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}
