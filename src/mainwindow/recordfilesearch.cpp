#include "mainwindow/recordfilesearch.h"

#include "platform/bytesearch.h"
#include "platform/gbkcodec.h"

namespace {

bool isLead(char c) {
    return static_cast<unsigned char>(c) >= 0x81;
}

char lower(char c) {
    return (c >= 'A' && c <= 'Z') ? char(c | 0x20) : c;
}

}  // namespace

RecordTextMatcher::RecordTextMatcher(const QString& text) {
    m_canMatch = !text.isEmpty() && gbk::canEncode(text) && !text.contains(u',') &&
                 !text.contains(u'\r') && !text.contains(u'\n');
    if (!m_canMatch) return;
    const QByteArray bytes = gbk::encode(text);
    // Only ASCII letters fold; the bytes of a Chinese character stay as they are.
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (isLead(bytes[i]) && i + 1 < bytes.size()) {
            m_text += bytes.mid(i++, 2);
            continue;
        }
        m_text += lower(bytes[i]);
        m_fold = m_fold || (lower(bytes[i]) >= 'a' && lower(bytes[i]) <= 'z');
    }
    // The block is lowered byte by byte when the text holds letters, second bytes of characters
    // included; the bytes looked for are lowered the same way.
    for (char c : m_text) m_bytes += m_fold ? lower(c) : c;
}

qsizetype RecordTextMatcher::candidate(QByteArrayView haystack, qsizetype from) const {
    if (from >= haystack.size()) return haystack.size();
    return findBytes(haystack.data() + from, haystack.data() + haystack.size(), m_bytes) -
           haystack.data();
}

bool RecordTextMatcher::holdsAt(QByteArrayView line, qsizetype at) const {
    if (at < 0 || at + m_text.size() > line.size()) return false;
    // A character starts at `at`: walk the line's characters up to it.
    qsizetype i = 0;
    while (i < at) i += isLead(line[i]) && i + 1 < line.size() ? 2 : 1;
    if (i != at) return false;
    for (qsizetype j = 0; j < m_text.size(); ++j) {
        if (isLead(m_text[j])) {
            if (line[at + j] != m_text[j] || line[at + j + 1] != m_text[j + 1]) return false;
            ++j;
        } else if (lower(line[at + j]) != m_text[j]) {
            return false;
        }
    }
    return true;
}

RecordSearchResult searchRecordFile(const QString& path, const QString& text,
                                    RecordSearchProgress* progress, qsizetype blockSize) {
    RecordSearchResult result;
    LineBlockReader reader(path, blockSize);
    result.status = reader.status();
    result.error = reader.error();
    if (result.status != FileStatus::Ok) return result;
    if (progress) progress->total = reader.size();
    const RecordTextMatcher matcher(text);
    QByteArray block;
    while (reader.next(block)) {
        if (progress && progress->stop) {
            result.stopped = true;
            break;
        }
        result.lines +=
            matcher.scan(block, result.lines + 1, [&](qint64 number, QByteArrayView line) {
                result.hits.append({number, result.bytes.size(), line.size()});
                result.bytes.append(line);
            });
        if (progress) progress->done = reader.done();
    }
    if (reader.status() != FileStatus::Ok) {
        result.status = reader.status();
        result.error = reader.error();
    }
    return result;
}
