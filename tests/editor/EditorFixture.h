#pragma once

// A program directory for one editor test, and the player's hands: clicks, double-clicks
// and typing into the editor's windows.

#include "app/AppState.h"
#include "common/ScriptedMessages.h"
#include "editor/DirFrm.h"
#include "editor/OptionsFrm.h"
#include "editor/OptionsNewFrm.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <vector>

using Rows = std::vector<QStringList>;

// Deletes the windows that closed themselves.
inline void flushClosedWindows() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Closes whatever editor windows a test left open.
inline void closeEditorWindows() {
    ScriptedMessages messages; // a reload after a save may report things
    if (OptionsFrm *editor = OptionsFrmWindow()) {
        if (OptionsNewFrm *record = editor->recordEditor())
            record->close();
        editor->close();
    }
    flushClosedWindows();
}

class EditorLibrary {
public:
    EditorLibrary()
        : previousDir_(QDir::currentPath()) {
        QDir::setCurrent(dir_.path());
        AppState &app = App();
        app.ProgramDir = QDir::currentPath();
        app.ProgramDrive = app.ProgramDir.left(2);
        app.Emulators.resize(1);
        app.EmulatorCount = 0;
        app.Games.resize(1);
        app.GameCount = 0;
        app.EditMode.clear();
        app.NewRowPending = false;
        app.DirTarget = 0;
        app.Lista = nullptr;
        app.EndProgram = [this](int) { ++programEnds; };
    }
    ~EditorLibrary() {
        closeEditorWindows();
        QDir::setCurrent(previousDir_);
    }
    EditorLibrary(const EditorLibrary &) = delete;
    EditorLibrary &operator=(const EditorLibrary &) = delete;

    QString path(const QString &relative = {}) const {
        return relative.isEmpty() ? QDir(dir_.path()).absolutePath()
                                  : QDir(dir_.path()).absoluteFilePath(relative);
    }
    QString write(const QString &relative, const QByteArray &content = "data") const {
        const QString file = path(relative);
        QDir().mkpath(QFileInfo(file).absolutePath());
        QFile out(file);
        if (!out.open(QIODevice::WriteOnly) || out.write(content) != content.size())
            qFatal("cannot write test file %s", qPrintable(file));
        return file;
    }
    QString mkdir(const QString &relative) const {
        QDir().mkpath(path(relative));
        return path(relative);
    }
    QByteArray read(const QString &relative) const {
        QFile in(path(relative));
        return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
    }
    bool exists(const QString &relative) const { return QFileInfo::exists(path(relative)); }
    QStringList files() const { return QDir(path()).entryList(QDir::Files, QDir::Name); }

    int programEnds = 0;

private:
    QString previousDir_;
    QTemporaryDir dir_;
};

// "Zanku.ini" lines of one emulator, CR LF after each.
inline QByteArray configRecord(const QString &name, const QString &program, const QString &path,
                               const QString &zips = {}, const QString &snaps = {},
                               const QString &options = {}) {
    return ("[" + name + "]\r\n" + program + "\r\n" + path + "\r\n" + zips + "\r\n" + snaps +
            "\r\n" + options + "\r\n;\r\n")
        .toLocal8Bit();
}

inline OptionsFrm *openEditor(const QString &editMode) {
    App().EditMode = editMode;
    ShowOptionsFrm(nullptr);
    return OptionsFrmWindow();
}

template <typename T> T *part(QWidget *window, const char *name) {
    T *widget = window->findChild<T *>(QLatin1String(name));
    if (widget == nullptr)
        qFatal("no control %s", name);
    return widget;
}

inline QTableWidget *gridOf(OptionsFrm *editor) {
    return part<QTableWidget>(editor, "Grid");
}

inline Rows gridRows(OptionsFrm *editor) {
    Rows rows;
    for (int row = 0; row < editor->rowCount(); ++row)
        rows.push_back(editor->rowCells(row));
    return rows;
}

inline QStringList columnZero(OptionsFrm *editor) {
    QStringList names;
    for (const QStringList &row : gridRows(editor))
        names.append(row.value(0));
    return names;
}

inline void click(QWidget *window, const char *button) {
    QTest::mouseClick(part<QPushButton>(window, button), Qt::LeftButton);
}

inline QPoint cellCentre(QTableWidget *grid, int row) {
    grid->scrollTo(grid->model()->index(row, 0));
    return grid->visualRect(grid->model()->index(row, 0)).center();
}

inline void clickRow(OptionsFrm *editor, int row) {
    QTableWidget *grid = gridOf(editor);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cellCentre(grid, row));
}

inline void doubleClickRow(OptionsFrm *editor, int row) {
    QTableWidget *grid = gridOf(editor);
    const QPoint at = cellCentre(grid, row);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at);
}

// Picks an entry of the emulator selector's list, as a player does with the mouse.
inline bool pickEmulator(OptionsFrm *editor, const QString &name) {
    QComboBox *combo = part<QComboBox>(editor, "Emulator");
    const int index = combo->findText(name, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index < 0)
        return false;
    combo->showPopup();
    QAbstractItemView *view = combo->view();
    const QModelIndex item = view->model()->index(index, combo->modelColumn());
    view->scrollTo(item);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(item).center());
    return combo->currentText() == name;
}

inline void typeInto(QLineEdit *box, const QString &text) {
    box->setFocus();
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    QTest::keyClicks(box, text);
}

inline void typeInto(QWidget *window, const char *field, const QString &text) {
    if (auto *combo = window->findChild<QComboBox *>(QLatin1String(field))) {
        typeInto(combo->lineEdit(), text);
        return;
    }
    typeInto(part<QLineEdit>(window, field), text);
}

inline QString fieldText(QWidget *window, const char *field) {
    if (auto *combo = window->findChild<QComboBox *>(QLatin1String(field)))
        return combo->currentText();
    return part<QLineEdit>(window, field)->text();
}
