#pragma once

#include "core/import/ImportCandidate.h"
#include "core/records/Records.h"

#include <QWidget>

class ImportJob;
class ImportModel;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTableView;

namespace zanku {
class Library;
}

// "Import Games": scans an emulator's folders in the background (an ImportJob) and lists,
// with a check box each, the games its ROM list does not name yet; "Add Checked" appends
// the checked ones through the library, which reloads and tells every window.
class ImportFrm : public QWidget {
    Q_OBJECT

public:
    ImportFrm(zanku::Library &library, QWidget *mainWindow);

    bool scanning() const;
    void refillEmulators(); // the configured emulators, in file order

signals:
    void namesListed();  // the table shows every name; archive rows wait for their member
    void scanFinished(); // the table shows the scan's result (or why there is none)

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void Emulator_Click(int index);
    void Filter_Change(const QString &patterns);
    void Cancel_Click();
    void AddChecked_Click();
    void startScan(const EmulatorRecord &emulator);
    void stopScan();
    void showScanning(bool scanning);
    void namesFound(const std::vector<ImportCandidate> &names);
    void scanDone(const QString &error, bool cancelled);
    void showProgress(int done, int total);

    zanku::Library &library_;
    EmulatorRecord emulator_; // the emulator whose folders the table shows
    ImportJob *job_ = nullptr;

    ImportModel *model_ = nullptr;
    QComboBox *Emulator = nullptr;
    QLineEdit *Filter = nullptr;
    QTableView *Candidates = nullptr;
    QProgressBar *Progress = nullptr;
    QPushButton *Cancel = nullptr;
    QComboBox *Type = nullptr;
    QLabel *Status = nullptr;
    QPushButton *AddChecked = nullptr;
};
