#pragma once

// A program directory for one editor test, and the player's hands on the editor's windows.

#include "app/AppState.h"
#include "common/ScriptedMessages.h"
#include "editor/OptionsFrm.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

using Rows = std::vector<QStringList>;

// Deletes the windows that closed themselves.
inline void flushClosedWindows()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

class EditorLibrary {
public:
    EditorLibrary()
        : previousDir_(QDir::currentPath())
    {
        QDir::setCurrent(dir_.path());
        App() = AppState();
        App().ProgramDir = QDir::currentPath();
        App().EndProgram = [](int) { QFAIL("the program would end"); };
    }
    ~EditorLibrary()
    {
        ScriptedMessages quiet; // a reload after a save may report things
        if (OptionsFrm *editor = OptionsFrmWindow()) {
            if (OptionsNewFrm *record = editor->recordEditor())
                record->close();
            editor->close();
        }
        flushClosedWindows();
        QDir::setCurrent(previousDir_);
    }

    QString path(const QString &relative = {}) const
    {
        const QDir dir(dir_.path());
        return relative.isEmpty() ? dir.absolutePath() : dir.absoluteFilePath(relative);
    }
    QString write(const QString &relative, const QByteArray &content = "data") const
    {
        QDir().mkpath(QFileInfo(path(relative)).absolutePath());
        QFile out(path(relative));
        if (!out.open(QIODevice::WriteOnly) || out.write(content) != content.size())
            qFatal("cannot write %s", qPrintable(relative));
        return out.fileName();
    }
    QByteArray read(const QString &relative) const
    {
        QFile in(path(relative));
        return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
    }
    QStringList files() const { return QDir(path()).entryList(QDir::Files, QDir::Name); }

private:
    QString previousDir_;
    QTemporaryDir dir_;
};

// The "Zanku.ini" lines of one emulator.
inline QByteArray configRecord(const QString &name, const QString &program, const QString &path,
                               const QString &zips = {}, const QString &snaps = {},
                               const QString &options = {})
{
    return QStringList({"[" + name + "]", program, path, zips, snaps, options, ";", ""})
        .join("\r\n")
        .toLocal8Bit();
}

inline OptionsFrm *openEditor(const QString &editMode)
{
    App().EditMode = editMode;
    ShowOptionsFrm(nullptr);
    return OptionsFrmWindow();
}

template <typename T = QWidget> T *part(QWidget *window, const QString &name)
{
    T *widget = window->findChild<T *>(name);
    if (widget == nullptr)
        qFatal("no control %s", qPrintable(name));
    return widget;
}

inline Rows gridRows(OptionsFrm *editor)
{
    Rows rows;
    for (int row = 0; row < editor->rowCount(); ++row)
        rows.push_back(editor->rowCells(row));
    return rows;
}

inline void click(QWidget *window, const QString &button)
{
    QTest::mouseClick(part<QPushButton>(window, button), Qt::LeftButton);
}

inline void clickRow(OptionsFrm *editor, int row, bool twice = false)
{
    auto *grid = part<QTableWidget>(editor, "Grid");
    const QPoint at = grid->visualRect(grid->model()->index(row, 0)).center();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
    if (twice)
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at);
}

// Picks an entry of the emulator selector's drop-down list with the mouse.
inline bool pickEmulator(OptionsFrm *editor, const QString &name)
{
    auto *combo = part<QComboBox>(editor, "Emulator");
    const int index = combo->findText(name, Qt::MatchExactly | Qt::MatchCaseSensitive);
    combo->showPopup();
    QAbstractItemView *view = combo->view();
    const QRect rect = view->visualRect(view->model()->index(index, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, rect.center());
    return index >= 0 && combo->currentText() == name;
}

inline QLineEdit *lineOf(QWidget *window, const QString &field)
{
    if (auto *combo = window->findChild<QComboBox *>(field))
        return combo->lineEdit();
    return part<QLineEdit>(window, field);
}

// Types into a field; line breaks cannot be typed, so text holding one is pasted.
inline void type(QWidget *window, const QString &field, const QString &text)
{
    QLineEdit *line = lineOf(window, field);
    line->selectAll();
    QTest::keyClick(line, Qt::Key_Delete);
    if (text.contains('\n') || text.contains('\r'))
        line->insert(text);
    else
        QTest::keyClicks(line, text);
}

inline QString text(QWidget *window, const QString &field)
{
    return lineOf(window, field)->text();
}
