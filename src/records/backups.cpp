#include "records/backups.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <algorithm>
#include <filesystem>
#include <system_error>

#include "platform/textfile.h"

namespace {

const QString kFolderName = QStringLiteral("backup");
const QString kTimeFormat = QStringLiteral("yyyyMMdd-HHmmss");

// A second name for a regular file (not a symbolic link, which would follow a.bz's later content).
bool linkRegularFile(const QString& from, const QString& to) {
    // UTF-16 into the system's own file names: UTF-8 on Linux, wide characters on Windows.
    const std::filesystem::path source(from.toStdU16String());
    std::error_code error;
    if (!std::filesystem::is_regular_file(std::filesystem::symlink_status(source, error)))
        return false;
    std::filesystem::create_hard_link(source, std::filesystem::path(to.toStdU16String()), error);
    return !error;
}

}  // namespace

Backups::Backups(QString dataFilePath) : m_dataFilePath(std::move(dataFilePath)) {}

QString Backups::folder() const {
    return QFileInfo(m_dataFilePath).absoluteDir().filePath(kFolderName);
}

QList<BackupCopy> Backups::list() const {
    const QString base = QFileInfo(m_dataFilePath).fileName();
    const QRegularExpression name(
        QStringLiteral("^%1\\.(\\d{8}-\\d{6})(?:-(\\d+))?$").arg(QRegularExpression::escape(base)));
    // Each copy with its number within its second: none is 1, "-2" is 2 …
    QList<std::pair<BackupCopy, int>> found;
    const QFileInfoList files = QDir(folder()).entryInfoList(QDir::Files);
    for (const QFileInfo& file : files) {
        const QRegularExpressionMatch m = name.match(file.fileName());
        if (!m.hasMatch()) continue;
        const QDateTime made = QDateTime::fromString(m.captured(1), kTimeFormat);
        if (!made.isValid()) continue;
        const int number = m.capturedView(2).isEmpty() ? 1 : m.capturedView(2).toInt();
        found.append({{file.absoluteFilePath(), made, file.size()}, number});
    }
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) {
        return a.first.made != b.first.made ? a.first.made > b.first.made : a.second > b.second;
    });
    QList<BackupCopy> copies;
    for (const auto& [copy, number] : found) copies.append(copy);
    return copies;
}

bool Backups::hasCopyOn(const QDate& day) const {
    const QList<BackupCopy> copies = list();
    return std::any_of(copies.begin(), copies.end(),
                       [&](const BackupCopy& c) { return c.made.date() == day; });
}

QList<BackupCopy> Backups::toPrune(const QList<BackupCopy>& newestFirst, const QDate& today) {
    QList<BackupCopy> pruned;
    QSet<QDate> daysKept;
    for (qsizetype i = 0; i < newestFirst.size(); ++i) {
        const BackupCopy& copy = newestFirst.at(i);
        const QDate day = copy.made.date();
        const bool recentDay = day > today.addDays(-kKeepDays) && !daysKept.contains(day);
        if (i < kKeepNewest || recentDay)
            daysKept.insert(day);
        else
            pruned.append(copy);
    }
    return pruned;
}

std::optional<QString> Backups::make(const QDateTime& now, QString* error, Method method) const {
    const QString dir = folder();
    if (!QDir().mkpath(dir)) {
        if (error)
            *error = QStringLiteral("无法建立备份文件夹“%1”。").arg(QDir::toNativeSeparators(dir));
        return std::nullopt;
    }
    const QString stem =
        QDir(dir).filePath(QFileInfo(m_dataFilePath).fileName() + u'.' + now.toString(kTimeFormat));
    QString path = stem;
    for (int n = 2; QFileInfo::exists(path); ++n) path = stem + u'-' + QString::number(n);
    if (method != Method::LinkBeforeReplace || !linkRegularFile(m_dataFilePath, path)) {
        const FileContent content = readWholeFile(m_dataFilePath);
        if (content.status == FileStatus::Unreadable) {
            if (error) *error = content.error;
            return std::nullopt;
        }
        if (!writeFileAtomically(path, content.bytes, error)) return std::nullopt;
    }
    for (const BackupCopy& old : toPrune(list(), now.date())) QFile::remove(old.path);
    return path;
}

std::optional<int> Backups::recordCount(const QString& path, QString* error) {
    LineBlockReader reader(path);
    int records = 0;
    QByteArray block;
    while (reader.next(block)) {
        forEachLine(block, [&](QByteArrayView line) {
            records += std::any_of(line.begin(), line.end(), [](char c) { return c != ','; });
        });
    }
    if (reader.status() == FileStatus::Ok) return records;
    if (error)
        *error = reader.status() == FileStatus::Missing
                     ? QStringLiteral("“%1”不存在。").arg(QDir::toNativeSeparators(path))
                     : reader.error();
    return std::nullopt;
}
