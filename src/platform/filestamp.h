#pragma once
// What the program knows of a file it read, to tell later whether the file changed meanwhile:
// whether it existed, its size, its modification time to the finest grain the file system keeps,
// and which file it is (device and inode on Unix systems, volume and file index on Windows). Every
// save of the program replaces the file through a rename, so the file standing there is a new one
// after each save, even when a save in the same clock tick (Windows' file times move in steps of
// several milliseconds) leaves size and time as they were. QtCore only.

#include <QString>
#include <QtGlobal>

struct FileStamp {
    bool exists = false;
    qint64 size = 0;
    qint64 modified = 0;  // in the file system's own ticks, only ever compared
    quint64 volume = 0;   // which file, only ever compared
    quint64 file = 0;

    // The stamp of the file as it is now; a missing or unreadable file, or a folder, has
    // exists == false.
    static FileStamp of(const QString& path);

    bool operator==(const FileStamp&) const = default;
};
