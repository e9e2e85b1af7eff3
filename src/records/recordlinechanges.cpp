#include "records/recordlinechanges.h"

#include <QHash>
#include <QSet>
#include <algorithm>
#include <cstring>
#include <vector>

namespace {

const QByteArray kLineEnd = QByteArrayLiteral("\r\n");

struct Span {
    qsizetype start = 0;
    qsizetype length = 0;
    int endLength = 0;  // 0, 1 (CR or LF) or 2 (CR LF)
};

// Every line of the bytes by the rules of splitLines(), with its line end.
std::vector<Span> spansOf(const QByteArray& bytes) {
    std::vector<Span> spans;
    spans.reserve(size_t(bytes.size() / 64 + 1));
    const char* const begin = bytes.constData();
    const char* const end = begin + bytes.size();
    const char* p = begin;
    while (p < end) {
        const char* q = p;
        while (q < end && *q != '\r' && *q != '\n') {
            const void* hit = memchr(q, '\n', size_t(end - q));
            const char* lf = hit ? static_cast<const char*>(hit) : end;
            const void* crHit = memchr(q, '\r', size_t(lf - q));
            q = crHit ? static_cast<const char*>(crHit) : lf;
        }
        int endLength = 0;
        if (q < end) endLength = (*q == '\r' && q + 1 < end && q[1] == '\n') ? 2 : 1;
        spans.push_back({p - begin, q - p, endLength});
        p = q + endLength;
    }
    return spans;
}

// A line of the result: its text and its line end, each a view of the input or of a change.
struct OutLine {
    QByteArrayView text;
    QByteArrayView end;
    int change = -1;  // the change that made it, or -1 for a line of the input left as it was
};

bool allCommas(QByteArrayView line) {
    return !line.isEmpty() && std::all_of(line.begin(), line.end(), [](char c) { return c == ','; });
}

}  // namespace

LineChangeResult applyLineChanges(const QByteArray& bytes, const QList<LineChange>& changes,
                                  bool exact) {
    using Kind = LineChange::Kind;
    LineChangeResult result;
    const std::vector<Span> spans = spansOf(bytes);
    auto textOf = [&](const Span& s) { return QByteArrayView(bytes).sliced(s.start, s.length); };
    auto endOf = [&](const Span& s) {
        return QByteArrayView(bytes).sliced(s.start + s.length, s.endLength);
    };

    // Where each line to replace or remove stands: the lines equal to it, in file order.
    QHash<QByteArray, std::vector<int>> equalLines;
    QSet<qsizetype> lengths;
    for (const LineChange& c : changes) {
        if (c.kind != Kind::Replace && c.kind != Kind::Remove) continue;
        equalLines.insert(c.line, {});
        lengths.insert(c.line.size());
    }
    if (!equalLines.isEmpty()) {
        for (int i = 0; i < int(spans.size()); ++i) {
            if (!lengths.contains(spans[size_t(i)].length)) continue;
            const QByteArrayView text = textOf(spans[size_t(i)]);
            const auto it = equalLines.find(QByteArray::fromRawData(text.data(), text.size()));
            if (it != equalLines.end()) it->push_back(i);
        }
    }
    std::vector<int> target(spans.size(), -1);  // the change for each input line
    // The counted line first; if it is gone or taken, the last equal line still free.
    for (int k = 0; k < changes.size(); ++k) {
        const LineChange& c = changes.at(k);
        if (c.kind != Kind::Replace && c.kind != Kind::Remove) continue;
        const std::vector<int>& at = equalLines.value(c.line);
        int chosen = -1;
        if (c.occurrence >= 0 && size_t(c.occurrence) < at.size() &&
            target[size_t(at[size_t(c.occurrence)])] < 0)
            chosen = at[size_t(c.occurrence)];
        for (auto it = at.rbegin(); chosen < 0 && it != at.rend(); ++it)
            if (target[size_t(*it)] < 0) chosen = *it;
        if (chosen < 0) {
            result.missingLine = c.line;
            return result;
        }
        target[size_t(chosen)] = k;
    }

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

    std::vector<OutLine> out;
    out.reserve(spans.size() + size_t(changes.size()) + 1);
    size_t nextInsert = 0;
    auto insertsDue = [&](bool all) {
        for (; nextInsert < inserts.size() &&
               (all || changes.at(inserts[nextInsert]).index <= int(out.size()));
             ++nextInsert) {
            const LineChange& c = changes.at(inserts[nextInsert]);
            out.push_back({c.text, c.lineEnd, inserts[nextInsert]});
        }
    };
    for (int i = 0; i < int(spans.size()); ++i) {
        insertsDue(false);
        const Span& s = spans[size_t(i)];
        const int k = target[size_t(i)];
        if (k < 0) {
            out.push_back({textOf(s), endOf(s), -1});
        } else if (changes.at(k).kind == Kind::Replace) {
            out.push_back({changes.at(k).text, endOf(s), k});
        } else {
            LineChange undo;
            undo.kind = Kind::Insert;
            undo.text = changes.at(k).line;
            undo.index = i;
            undo.lineEnd = endOf(s).toByteArray();
            undo.gridRow = changes.at(k).gridRow;
            result.inverse.append(undo);
        }
    }
    insertsDue(true);

    // Appends go before the editor's line of commas, which ends the file; a file without one gets
    // one.
    if (!appends.empty()) {
        OutLine trailing{QByteArrayView(kTrailingCommaLine), {}, -1};
        const bool hasTrailing = !out.empty() && allCommas(out.back().text);
        if (hasTrailing) {
            trailing = out.back();
            out.pop_back();
        }
        for (int k : appends) out.push_back({changes.at(k).text, kLineEnd, k});
        out.push_back(trailing);
    }
    // Every line but the last ends with a line end.
    for (size_t i = 0; i + 1 < out.size(); ++i)
        if (out[i].end.isEmpty()) out[i].end = kLineEnd;

    // The inverse of each line a change put in: found by its bytes and its place among equal ones.
    QHash<QByteArray, int> seen;
    QSet<qsizetype> madeLengths;
    for (const OutLine& o : out)
        if (o.change >= 0) madeLengths.insert(o.text.size());
    QSet<QByteArray> made;
    for (const OutLine& o : out)
        if (o.change >= 0) made.insert(o.text.toByteArray());
    for (const OutLine& o : out) {
        if (!madeLengths.contains(o.text.size())) continue;
        if (!made.contains(QByteArray::fromRawData(o.text.data(), o.text.size()))) continue;
        int& count = seen[o.text.toByteArray()];
        const int before = count++;
        if (o.change < 0) continue;
        const LineChange& c = changes.at(o.change);
        LineChange undo;
        undo.kind = c.kind == Kind::Replace ? Kind::Replace : Kind::Remove;
        undo.line = c.text;
        undo.occurrence = before;
        undo.text = c.kind == Kind::Replace ? c.line : QByteArray();
        undo.gridRow = c.gridRow;
        result.inverse.append(undo);
    }

    // The result, lines of the input that follow each other in one piece.
    qsizetype size = 0;
    for (const OutLine& o : out) size += o.text.size() + o.end.size();
    result.bytes.reserve(size);
    const char* runStart = nullptr;
    const char* runEnd = nullptr;
    auto flush = [&] {
        if (runStart) result.bytes.append(runStart, runEnd - runStart);
        runStart = runEnd = nullptr;
    };
    const char* const inputBegin = bytes.constData();
    const char* const inputEnd = inputBegin + bytes.size();
    for (const OutLine& o : out) {
        const bool fromInput = o.text.data() >= inputBegin && o.text.data() <= inputEnd &&
                               o.end.data() == o.text.data() + o.text.size();
        if (fromInput && runStart && o.text.data() == runEnd) {
            runEnd = o.end.data() + o.end.size();
            continue;
        }
        flush();
        if (fromInput) {
            runStart = o.text.data();
            runEnd = o.end.data() + o.end.size();
        } else {
            result.bytes.append(o.text);
            result.bytes.append(o.end);
        }
    }
    flush();
    result.ok = true;
    return result;
}
