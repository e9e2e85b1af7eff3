#pragma once
// Whole-file reading and writing for the program's data files. QtCore only.
// Files are never held open longer than one read or write: each call (or a LineBlockReader while it
// lives) opens, reads or writes the whole file and closes it.

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>
#include <cstring>
#include <functional>

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

// Calls f(line) for each line of a block of text, by the rules of splitLines(), without copying.
template <typename F>
void forEachLine(QByteArrayView block, F&& f) {
    const char* p = block.data();
    const char* const end = p + block.size();
    auto find = [end](const char* from, char c) {
        const void* hit = memchr(from, c, size_t(end - from));
        return hit ? static_cast<const char*>(hit) : end;
    };
    // The next CR and the next LF, each searched for again only once passed.
    const char* cr = p < end ? find(p, '\r') : end;
    const char* lf = p < end ? find(p, '\n') : end;
    while (p < end) {
        if (cr < p) cr = find(p, '\r');
        if (lf < p) lf = find(p, '\n');
        const char* q = cr < lf ? cr : lf;
        f(QByteArrayView(p, q - p));
        if (q < end && *q == '\r' && q + 1 < end && q[1] == '\n') ++q;
        p = q + 1;
    }
}

// Reads a file in blocks of whole lines, so that a file of any length is read with little memory.
// The file is closed once it has been read to its end (or failed), so that it can then be replaced.
// The file is opened as readWholeFile() opens it: a missing file, a folder, a pipe or a device in
// its place and a file that cannot be opened are told apart the same way.
class LineBlockReader {
  public:
    static constexpr qsizetype kDefaultBlockSize = qsizetype(1) << 20;

    explicit LineBlockReader(const QString& path, qsizetype blockSize = kDefaultBlockSize);

    FileStatus status() const { return m_status; }
    const QString& error() const { return m_error; }
    qint64 size() const { return m_size; }  // when it was opened
    qint64 done() const { return m_done; }  // bytes handed out so far

    // The next block of whole lines, each with its line end (the file's last line may lack one); a
    // line longer than the block size comes whole in a longer block. A CR LF is never split.
    // `block` is reused when nothing else shares it. False at the end of the file and after a
    // read error, which sets status() to Unreadable.
    bool next(QByteArray& block);

  private:
    QFile m_file;
    FileStatus m_status = FileStatus::Missing;
    QString m_error;
    qsizetype m_blockSize;
    qint64 m_size = 0;
    qint64 m_done = 0;
    QByteArray m_carry;  // the start of a line that the last block could not end
    bool m_atEnd = false;
};

// Replaces the file's content with the bytes, atomically: the bytes go to a temporary file in the
// same directory, which is flushed and then renamed over the file. Where another program holds the
// file so that it cannot be replaced (Windows), the rename is tried again for up to two seconds. On
// any failure the old file is untouched, false is returned and *error holds the reason in Chinese.
bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString* error);

// The same through a save file the caller made (tests pass one that fails part-way).
bool writeFileAtomically(QSaveFile& file, const QByteArray& bytes, QString* error);

// Content made piece by piece: the producer hands each piece to `write`, which gathers them into
// large writes and returns false once writing failed; the producer returns false to give up (then
// *error is left empty unless a write failed). The file is replaced only when all went well.
using ByteWriter = std::function<bool(QByteArrayView)>;
using ByteProducer = std::function<bool(const ByteWriter& write)>;
bool writeFileAtomically(const QString& path, const ByteProducer& produce, QString* error);
bool writeFileAtomically(QSaveFile& file, const ByteProducer& produce, QString* error);
