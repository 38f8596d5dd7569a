#pragma once

#include <QDialog>

// What an emulator printed, as its log keeps it: read-only, scrolled to the newest launch's
// last line, the text selectable to copy into a question or a bug report.
class LaunchOutputView : public QDialog {
    Q_OBJECT
public:
    LaunchOutputView(const QString &emulator, const QString &log, QWidget *parent);
};
