#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// How the player left the main window, kept for the next run: its place and size, whether
// it was maximised, and the view it showed. Each user has their own, in their configuration
// folder ("Zanku/Zanku.conf"), never in the library's "Zanku.ini", which players share.
struct WindowMemory {
    QByteArray geometry; // QWidget::saveGeometry() of the window out of full screen
    bool covers = false; // the cover view, else the list

    static WindowMemory read();
    // The list's optional columns the player turned off, by name ("Year", "Genre"); kept
    // in the same file, written at once.
    static QStringList hiddenColumns();
    static void setHiddenColumns(const QStringList &columns);
    // Written at once; a folder that cannot be written, or something other than a small
    // file in the memory's place, costs only the memory.
    void write() const;
};
