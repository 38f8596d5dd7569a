#pragma once

#include <QDialog>

class QLabel;

// The About box: title, version, author. Shown without blocking the main window.
class AboutFrm : public QDialog {
    Q_OBJECT
public:
    explicit AboutFrm(QWidget *parent = nullptr);

private:
    void Form_Load();

    QLabel *lblTitle = nullptr;
    QLabel *lblVersion = nullptr;
};

// "Version 0.9.22": major, minor and revision in plain decimal, joined by ".".
QString VersionText(int major, int minor, int revision);
