#pragma once
// 查找数据 over all of a.bz: every record whose line holds the typed text (letters A to Z in either
// case), found in the file's raw GBK bytes. The file is read in blocks and searched as it stands;
// only the lines that match are copied, and only those are ever decoded. A match must start on a
// character of its own: the second byte of a Chinese character that happens to equal a letter or
// a digit is never taken for one. A field never holds a comma or a line end, so a text with one
// matches nothing. QtCore only; the search runs on any thread.

#include <QByteArray>
#include <QList>
#include <QString>
#include <atomic>

#include "platform/textfile.h"

// Finds the text in the lines of a block.
class RecordTextMatcher {
  public:
    explicit RecordTextMatcher(const QString& text);

    // Whether any line can hold the text: it is not empty, GBK can store it, and it has no comma
    // and no line end.
    bool canMatch() const { return m_canMatch; }

    // Calls found(number, line) for each line of the block (whole lines, as LineBlockReader gives
    // them) that holds the text; the block's first line has the number `firstLine`. Returns the
    // number of lines in the block.
    template <typename F>
    qint64 scan(QByteArrayView block, qint64 firstLine, F&& found) const;

    // Whether the text starts at `at` in the line (a character boundary) - the check behind
    // scan(), which first finds the places where the bytes agree.
    bool holdsAt(QByteArrayView line, qsizetype at) const;

  private:
    // The next place at or after `from` where the (lowered) bytes agree; the end when none.
    qsizetype candidate(QByteArrayView haystack, qsizetype from) const;

    bool m_canMatch = false;
    QByteArray m_text;    // GBK, its ASCII letters in lower case
    QByteArray m_bytes;   // what to look for in the block: lowered as the block is
    bool m_fold = false;  // the text holds ASCII letters: the block is lowered first
    mutable QByteArray m_folded;
};

// What one search found.
struct RecordSearchResult {
    struct Hit {
        qint64 line = 0;  // numbered from 1 as a text editor numbers them
        qsizetype start = 0;
        qsizetype length = 0;  // of its bytes in `bytes`
    };
    FileStatus status = FileStatus::Missing;
    QString error;     // in Chinese, when the file could not be read
    QByteArray bytes;  // the lines found, one after another
    QList<Hit> hits;
    qint64 lines = 0;  // lines read
    bool stopped = false;
};

// Shared between the search's thread and the window: how far it got, and a request to stop.
struct RecordSearchProgress {
    std::atomic<qint64> done{0};
    std::atomic<qint64> total{0};
    std::atomic<bool> stop{false};
};

RecordSearchResult searchRecordFile(const QString& path, const QString& text,
                                    RecordSearchProgress* progress = nullptr,
                                    qsizetype blockSize = LineBlockReader::kDefaultBlockSize);

template <typename F>
qint64 RecordTextMatcher::scan(QByteArrayView block, qint64 firstLine, F&& found) const {
    QByteArrayView haystack = block;
    if (m_fold) {
        m_folded.resize(block.size());
        char* out = m_folded.data();
        for (qsizetype i = 0; i < block.size(); ++i) {
            const char c = block[i];
            out[i] = (c >= 'A' && c <= 'Z') ? char(c | 0x20) : c;
        }
        haystack = m_folded;
    }
    qint64 number = firstLine;
    qsizetype next = m_canMatch ? candidate(haystack, 0) : block.size();
    forEachLine(block, [&](QByteArrayView line) {
        const qsizetype start = line.data() - block.data();
        const qsizetype end = start + line.size();
        if (next < start) next = candidate(haystack, start);
        for (; m_canMatch && next + m_text.size() <= end; next = candidate(haystack, next + 1)) {
            if (holdsAt(line, next - start)) {
                found(number, line);
                break;
            }
        }
        ++number;
    });
    return number - firstLine;
}
