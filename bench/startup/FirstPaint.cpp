// Preloaded into a program the start-up benchmark starts (LD_PRELOAD): the process ends
// with status 77 right after its main window's first paint has been drawn and handed to
// the display server, so the parent reads the processor time and peak memory of exactly
// that much start-up from wait4(). Nothing of the program is changed or rebuilt for it,
// which lets the same measure run on any build and on the bare window. The peak memory
// is written where ZANKU_FIRST_PAINT_REPORT says: a child's ru_maxrss would carry its
// parent's peak across the exec.

#include <QCoreApplication>
#include <QEvent>
#include <QMainWindow>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace {
constexpr int PaintedStatus = 77;

// VmHWM of this process, as /proc/self/status says it, to the report file.
void reportPeak()
{
    const char *report = std::getenv("ZANKU_FIRST_PAINT_REPORT");
    FILE *status = std::fopen("/proc/self/status", "r");
    if (report == nullptr || status == nullptr)
        return;
    char line[256];
    while (std::fgets(line, sizeof line, status) != nullptr) {
        if (std::strncmp(line, "VmHWM:", 6) == 0) {
            if (FILE *out = std::fopen(report, "w")) {
                std::fputs(line + 6, out);
                std::fclose(out);
            }
        }
    }
    std::fclose(status);
}

class FirstPaint : public QObject {
public:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::Paint || seen_ || !watched->isWidgetType())
            return false;
        // A box shown before the window (an error) is not the window's paint.
        if (qobject_cast<QMainWindow *>(static_cast<QWidget *>(watched)->window()) == nullptr)
            return false;
        seen_ = true;
        // The paint under way and its flush end before posted calls run.
        QMetaObject::invokeMethod(
            qApp,
            [] {
                reportPeak();
                _exit(PaintedStatus);
            },
            Qt::QueuedConnection);
        return false;
    }

private:
    bool seen_ = false;
};

void watchFirstPaint()
{
    qApp->installEventFilter(new FirstPaint);
}
} // namespace

Q_COREAPP_STARTUP_FUNCTION(watchFirstPaint)
