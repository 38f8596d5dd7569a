#pragma once

#include "core/common/AppState.h"

#include <QWidget>

#include <memory>

class ImportModel;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTableView;
class QThread;
class QTimer;

// "Import Games": scans an emulator's folders in the background and lists, with a
// check box each, the games its ROM list does not name yet; "Add Checked" appends the
// checked ones and reloads the main window's list.
class ImportFrm : public QWidget {
    Q_OBJECT

public:
    explicit ImportFrm(QWidget *mainWindow);
    ~ImportFrm() override;

    bool scanning() const { return thread_ != nullptr; }
    void refillEmulators(); // the configured emulators, in file order

signals:
    void scanFinished(); // the table shows the scan's result (or why there is none)

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    struct ScanJob;

    void Emulator_Click(int index);
    void Filter_Change(const QString &patterns);
    void Cancel_Click();
    void AddChecked_Click();
    void startScan(const EmulatorRecord &emulator);
    void stopScan();
    void scanDone();
    void showProgress();

    EmulatorRecord emulator_; // the emulator whose folders the table shows
    std::shared_ptr<ScanJob> job_;
    QThread *thread_ = nullptr;
    int generation_ = 0; // tells a finished scan from one that was replaced

    ImportModel *model_ = nullptr;
    QComboBox *Emulator = nullptr;
    QLineEdit *Filter = nullptr;
    QTableView *Candidates = nullptr;
    QProgressBar *Progress = nullptr;
    QPushButton *Cancel = nullptr;
    QComboBox *Type = nullptr;
    QLabel *Status = nullptr;
    QPushButton *AddChecked = nullptr;
    QTimer *progressTimer_ = nullptr;
};

// Shows the import window as a window of `mainWindow`, or brings the open one forward.
void ShowImportFrm(QWidget *mainWindow);

// The open import window, or nullptr.
ImportFrm *ImportFrmWindow();
