#pragma once

#include <QString>

#include <functional>
#include <optional>
#include <vector>

// Milliseconds of wall-clock time taken by one call of `work`; with `cpuMs`, also the
// processor time (user and system) this process spent meanwhile, which a busy machine
// inflates far less.
double TimeMs(const std::function<void()> &work, double *cpuMs = nullptr);

// The median of the samples (the mean of the two middle ones for an even count).
double Median(std::vector<double> samples);

// Writes dirty pages out and empties the page, dentry and inode caches, so the next
// file system access reads the disk. Needs root; false with the reason otherwise.
bool DropCaches(QString &why);

// A size of /proc/self/status in KiB, by its field ("VmRSS:", "VmHWM:"); 0 when it
// cannot be read.
long StatusKiB(const char *field);

// The process's peak resident set in KiB: VmHWM of /proc/self/status, or ru_maxrss
// when that cannot be read.
long PeakResidentKiB();
