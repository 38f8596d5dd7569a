#include "app/AfterFirstPaint.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>

namespace {
class FirstPaintWatch : public QObject {
public:
    FirstPaintWatch(QWidget &window, std::function<void()> then)
        : QObject(&window)
        , then_(std::move(then))
    {
        window.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            // Queued: the paint is flushed to the screen first.
            QTimer::singleShot(0, parent(), std::move(then_));
            deleteLater();
        }
        return false;
    }

private:
    std::function<void()> then_;
};
} // namespace

void AfterFirstPaint(QWidget &window, std::function<void()> then)
{
    new FirstPaintWatch(window, std::move(then));
}
