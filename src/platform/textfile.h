#pragma once
// Whole-file reading and writing for the program's data files. QtCore only.
// Files are never held open: each call opens, reads or writes the whole file and closes it.

#include <QByteArray>
#include <QList>
#include <QString>

class QSaveFile;

enum class FileStatus {
    Ok,          // read completely
    Missing,     // no file at the path
    Unreadable,  // exists but could not be read (a directory, no permission, an I/O error)
};

struct FileContent {
    FileStatus status = FileStatus::Missing;
    QByteArray bytes;
    QString error;  // the reason, in Chinese, when status is Unreadable
};

struct FileLines {
    FileStatus status = FileStatus::Missing;
    QList<QByteArray> lines;  // raw bytes of each line, without its line end
    QString error;
};

// Reads the whole file.
FileContent readWholeFile(const QString& path);

// Splits text bytes into lines. A line ends at CR LF, at a lone CR or at a lone LF; the text after
// the last line end is the last line, so a file ending in a line end yields no extra empty line and
// an empty file yields no lines. With `ends`, each line's own line end is kept there too ("\r\n",
// "\r", "\n", or empty for a last line without one).
QList<QByteArray> splitLines(const QByteArray& bytes, QList<QByteArray>* ends = nullptr);

// readWholeFile() followed by splitLines().
FileLines readLines(const QString& path);

// Replaces the file's content with the bytes, atomically: the bytes go to a temporary file in the
// same directory, which is flushed and then renamed over the file. On any failure the old file is
// untouched, false is returned and *error holds the reason in Chinese.
bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString* error);

// The same through a save file the caller made (tests pass one that fails part-way).
bool writeFileAtomically(QSaveFile& file, const QByteArray& bytes, QString* error);
