#include "records/firedlines.h"

FiredLines::FiredLines(const QList<QByteArray>& lines) {
    for (const QByteArray& line : lines) {
        ++m_counts[line];
        m_lengths.insert(line.size());
    }
}

template <typename Keep>
bool FiredLines::walk(const QString& path, Keep&& keep, int* removed, QString* error) const {
    QHash<QByteArray, int> left = m_counts;
    int taken = 0;
    bool kept = true;
    LineBlockReader reader(path);
    if (reader.status() == FileStatus::Missing) {
        if (error) *error = QStringLiteral("数据文件不存在。");
        return false;
    }
    QByteArray block;
    while (kept && reader.next(block)) {
        forEachLine(block, [&](QByteArrayView line) {
            if (!kept) return;
            if (m_lengths.contains(line.size())) {
                const auto it = left.find(QByteArray::fromRawData(line.data(), line.size()));
                if (it != left.end() && it.value() > 0) {
                    --it.value();
                    ++taken;
                    return;
                }
            }
            kept = keep(line);
        });
    }
    if (removed) *removed = taken;
    if (reader.status() != FileStatus::Ok && error) *error = reader.error();
    return kept && reader.status() == FileStatus::Ok;
}

std::optional<int> FiredLines::countIn(const QString& path, QString* error) const {
    int found = 0;
    if (!walk(
            path, [](QByteArrayView) { return true; }, &found, error))
        return std::nullopt;
    return found;
}

bool FiredLines::writeRest(const QString& path, const ByteWriter& write, int* removed,
                           QString* error) const {
    bool first = true;
    const auto keep = [&](QByteArrayView line) {
        const bool ok = (first || write("\r\n")) && write(line);
        first = false;
        return ok;
    };
    return walk(path, keep, removed, error);
}
