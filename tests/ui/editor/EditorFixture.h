#pragma once

// The player's hands on the editor's windows, for the editor's tests.

#include "common/ScriptedMessages.h"
#include "common/TestLibrary.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

// The window's control of this name; a test cannot go on without it.
template <typename T = QWidget> T *part(QWidget *window, const QString &name)
{
    if (T *widget = window->findChild<T *>(name))
        return widget;
    qFatal("no control %s", qPrintable(name));
}

inline void click(QWidget *window, const QString &button)
{
    QTest::mouseClick(part<QPushButton>(window, button), Qt::LeftButton);
}
