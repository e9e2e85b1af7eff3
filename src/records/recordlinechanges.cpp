#include "records/recordlinechanges.h"

#include <QHash>
#include <QSet>
#include <algorithm>
#include <cstring>
#include <vector>

namespace {

using Kind = LineChange::Kind;

const QByteArray kLineEnd = QByteArrayLiteral("\r\n");

struct Span {
    qsizetype start = 0;
    qsizetype length = 0;
    int endLength = 0;  // 0, 1 (CR or LF) or 2 (CR LF)
    qsizetype end() const { return start + length + endLength; }
};

// Every line of the bytes by the rules of splitLines(), with its line end.
std::vector<Span> spansOf(const QByteArray& bytes) {
    std::vector<Span> spans;
    spans.reserve(size_t(bytes.size() / 64 + 1));
    const char* const begin = bytes.constData();
    const char* const end = begin + bytes.size();
    const char* cr = nullptr;
    const char* lf = nullptr;
    for (const char* p = begin; p < end;) {
        // The next CR and the next LF, each searched for again only once passed.
        if (cr < p) cr = static_cast<const char*>(memchr(p, '\r', size_t(end - p)));
        if (!cr) cr = end;
        if (lf < p) lf = static_cast<const char*>(memchr(p, '\n', size_t(end - p)));
        if (!lf) lf = end;
        const char* q = cr < lf ? cr : lf;
        int endLength = 0;
        if (q < end) endLength = (*q == '\r' && q + 1 < end && q[1] == '\n') ? 2 : 1;
        spans.push_back({p - begin, q - p, endLength});
        p = q + endLength;
    }
    return spans;
}

bool allCommas(QByteArrayView line) {
    return !line.isEmpty() &&
           std::all_of(line.begin(), line.end(), [](char c) { return c == ','; });
}

// A line a change put into the result, at its index among the result's lines.
struct MadeLine {
    int change;
    qsizetype outIndex;
};

// A run of input lines [first, last) copied to the result from line `outFirst` on.
struct Run {
    int first;
    int last;
    qsizetype outFirst;
};

}  // namespace

LineChangeResult applyLineChanges(const QByteArray& bytes, const QList<LineChange>& changes,
                                  bool exact) {
    LineChangeResult result;
    const std::vector<Span> spans = spansOf(bytes);
    const int lineCount = int(spans.size());
    auto textOf = [&](int i) {
        return QByteArrayView(bytes).sliced(spans[size_t(i)].start, spans[size_t(i)].length);
    };
    auto endOf = [&](int i) {
        const Span& s = spans[size_t(i)];
        return QByteArrayView(bytes).sliced(s.start + s.length, s.endLength);
    };
    auto madeText = [&](const LineChange& c) {
        return c.kind == Kind::Remove ? QByteArray() : c.text;
    };

    // One pass finds the input lines equal to a line to change or to a line a change makes. There
    // are a few such texts: a line is compared with those of its length.
    QHash<QByteArray, std::vector<int>> equalLines;
    QHash<qsizetype, QList<QByteArray>> byLength;
    for (const LineChange& c : changes) {
        for (const QByteArray& text :
             {c.kind == Kind::Replace || c.kind == Kind::Remove ? c.line : QByteArray(),
              madeText(c)}) {
            if (text.isNull() || equalLines.contains(text)) continue;
            equalLines.insert(text, {});
            byLength[text.size()].append(text);
        }
    }
    for (int i = 0; i < lineCount; ++i) {
        const auto texts = byLength.constFind(spans[size_t(i)].length);
        if (texts == byLength.constEnd()) continue;
        const QByteArrayView line = textOf(i);
        for (const QByteArray& text : *texts)
            if (memcmp(text.constData(), line.data(), size_t(line.size())) == 0)
                equalLines[text].push_back(i);
    }

    // The line each replacement or removal takes: the counted one first; if it is gone or taken,
    // the last equal line still free.
    QHash<int, int> target;  // input line -> change
    for (int k = 0; k < changes.size(); ++k) {
        const LineChange& c = changes.at(k);
        if (c.kind != Kind::Replace && c.kind != Kind::Remove) continue;
        const std::vector<int>& at = equalLines[c.line];
        int chosen = -1;
        if (c.occurrence >= 0 && size_t(c.occurrence) < at.size() &&
            !target.contains(at[size_t(c.occurrence)]))
            chosen = at[size_t(c.occurrence)];
        for (auto it = at.rbegin(); chosen < 0 && it != at.rend(); ++it)
            if (!target.contains(*it)) chosen = *it;
        if (chosen < 0) {
            result.missingLine = c.line;
            return result;
        }
        target.insert(chosen, k);
    }
    std::vector<int> changed(target.keyBegin(), target.keyEnd());
    std::sort(changed.begin(), changed.end());

    // Inserts by their index in the result; without an exact file they join the appends.
    std::vector<int> inserts;
    std::vector<int> appends;
    for (int k = 0; k < changes.size(); ++k) {
        const Kind kind = changes.at(k).kind;
        if (kind == Kind::Insert && exact) inserts.push_back(k);
        if (kind == Kind::Append || (kind == Kind::Insert && !exact)) appends.push_back(k);
    }
    std::stable_sort(inserts.begin(), inserts.end(),
                     [&](int a, int b) { return changes.at(a).index < changes.at(b).index; });

    // Appends go before the editor's line of commas that ends the file, when it is left alone.
    int inputEnd = lineCount;
    if (!appends.empty() && lineCount > 0 && allCommas(textOf(lineCount - 1)) &&
        !target.contains(lineCount - 1))
        inputEnd = lineCount - 1;

    // The result: runs of input lines as they were, and the lines the changes make. Every line
    // but the last ends with a line end.
    std::vector<Run> runs;
    std::vector<MadeLine> made;
    qsizetype outCount = 0;
    bool lastHasEnd = true;
    auto emitLine = [&](QByteArrayView text, QByteArrayView end) {
        if (!lastHasEnd) result.pieces.append(kLineEnd);
        result.pieces.append(text);
        if (!end.isEmpty()) result.pieces.append(end);
        lastHasEnd = !end.isEmpty();
        ++outCount;
    };
    auto emitRun = [&](int first, int last) {
        if (first >= last) return;
        if (!lastHasEnd) result.pieces.append(kLineEnd);
        const qsizetype from = spans[size_t(first)].start;
        result.pieces.append(
            QByteArrayView(bytes).sliced(from, spans[size_t(last - 1)].end() - from));
        runs.push_back({first, last, outCount});
        outCount += last - first;
        lastHasEnd = spans[size_t(last - 1)].endLength > 0;
    };
    auto emitMade = [&](int k, QByteArrayView end) {
        made.push_back({k, outCount});
        emitLine(changes.at(k).text, end);
    };
    size_t nextChange = 0;
    size_t nextInsert = 0;
    auto emitInsertsDue = [&](bool all) {
        for (; nextInsert < inserts.size() &&
               (all || changes.at(inserts[nextInsert]).index <= outCount);
             ++nextInsert)
            emitMade(inserts[nextInsert], changes.at(inserts[nextInsert]).lineEnd);
    };
    for (int in = 0; in < inputEnd;) {
        emitInsertsDue(false);
        int until = nextChange < changed.size() ? qMin(changed[nextChange], inputEnd) : inputEnd;
        if (nextInsert < inserts.size())
            until = int(qMin<qsizetype>(
                until, in + qMax<qsizetype>(changes.at(inserts[nextInsert]).index - outCount, 1)));
        emitRun(in, until);
        in = until;
        if (in >= inputEnd || nextChange >= changed.size() || changed[nextChange] != in) continue;
        const int k = target.value(in);
        ++nextChange;
        if (changes.at(k).kind == Kind::Replace) {
            emitMade(k, endOf(in));
        } else {
            LineChange undo;
            undo.kind = Kind::Insert;
            undo.text = changes.at(k).line;
            undo.index = in;
            undo.lineEnd = endOf(in).toByteArray();
            undo.gridRow = changes.at(k).gridRow;
            result.inverse.append(undo);
        }
        ++in;
    }
    emitInsertsDue(true);
    if (!appends.empty()) {
        for (int k : appends) emitMade(k, kLineEnd);
        if (inputEnd < lineCount)
            emitRun(inputEnd, lineCount);
        else
            emitLine(QByteArrayView(kTrailingCommaLine), {});
    }

    // The inverse of each line a change made: that line found by its bytes and by how many equal
    // lines stand before it in the result.
    auto outIndexOf = [&](int input) -> qsizetype {
        for (const Run& r : runs)
            if (input >= r.first && input < r.last) return r.outFirst + (input - r.first);
        return -1;  // replaced or removed
    };
    for (const MadeLine& m : made) {
        const LineChange& c = changes.at(m.change);
        qsizetype before = 0;
        for (int input : equalLines.value(c.text)) {
            const qsizetype at = outIndexOf(input);
            if (at >= 0 && at < m.outIndex) ++before;
        }
        for (const MadeLine& other : made)
            if (other.outIndex < m.outIndex && changes.at(other.change).text == c.text) ++before;
        LineChange undo;
        undo.kind = c.kind == Kind::Replace ? Kind::Replace : Kind::Remove;
        undo.line = c.text;
        undo.occurrence = int(before);
        undo.text = c.kind == Kind::Replace ? c.line : QByteArray();
        undo.gridRow = c.gridRow;
        result.inverse.append(undo);
    }
    result.ok = true;
    return result;
}
