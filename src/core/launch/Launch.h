#pragma once

#include <QString>
#include <QStringList>

// Starts a program without waiting for it and without keeping a handle on it, in this
// working directory. On failure, `error` says why.
bool StartEmulator(const QString &program, const QStringList &arguments, const QString &commandLine,
                   const QString &workingDirectory, QString *error);
