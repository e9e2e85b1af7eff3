#include "platform/textfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

QString describe(const QFileDevice& file) {
    switch (file.error()) {
        case QFileDevice::PermissionsError:
            return QStringLiteral("没有访问权限");
        case QFileDevice::ResizeError:
        case QFileDevice::WriteError:
            return QStringLiteral("写入失败（磁盘可能已满）：%1").arg(file.errorString());
        case QFileDevice::ReadError:
            return QStringLiteral("读取失败：%1").arg(file.errorString());
        default:
            return file.errorString();
    }
}

}  // namespace

FileContent readWholeFile(const QString& path) {
    FileContent result;
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink()) return result;
    if (!info.isFile()) {
        // A folder, a pipe or a device in the file's place: reading a pipe or a device could wait
        // for ever or never end.
        result.status = FileStatus::Unreadable;
        result.error = QStringLiteral("“%1”不是普通文件。").arg(QDir::toNativeSeparators(path));
        return result;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.status = FileStatus::Unreadable;
        result.error =
            QStringLiteral("无法打开“%1”：%2").arg(QDir::toNativeSeparators(path), describe(file));
        return result;
    }
    result.bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        result.status = FileStatus::Unreadable;
        result.error =
            QStringLiteral("无法读取“%1”：%2").arg(QDir::toNativeSeparators(path), describe(file));
        result.bytes.clear();
        return result;
    }
    result.status = FileStatus::Ok;
    return result;
}

QList<QByteArray> splitLines(const QByteArray& bytes, QList<QByteArray>* ends) {
    QList<QByteArray> lines;
    const char* data = bytes.constData();
    const qsizetype n = bytes.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const char c = data[i];
        if (c != '\r' && c != '\n') continue;
        const qsizetype endLength = (c == '\r' && i + 1 < n && data[i + 1] == '\n') ? 2 : 1;
        lines.append(bytes.mid(start, i - start));
        if (ends) ends->append(bytes.mid(i, endLength));
        i += endLength - 1;
        start = i + 1;
    }
    if (start < n) {
        lines.append(bytes.mid(start));
        if (ends) ends->append(QByteArray());
    }
    return lines;
}

FileLines readLines(const QString& path) {
    FileContent content = readWholeFile(path);
    FileLines result;
    result.status = content.status;
    result.error = content.error;
    if (content.status == FileStatus::Ok) result.lines = splitLines(content.bytes);
    return result;
}

bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString* error) {
    QSaveFile file(path);
    return writeFileAtomically(file, bytes, error);
}

bool writeFileAtomically(QSaveFile& file, const QByteArray& bytes, QString* error) {
    const QString shown = QDir::toNativeSeparators(file.fileName());
    auto fail = [&](const QString& what) {
        if (error) *error = QStringLiteral("无法保存“%1”：%2").arg(shown, what);
        file.cancelWriting();
        return false;
    };
    if (QFileInfo(file.fileName()).isDir()) return fail(QStringLiteral("同名的文件夹已存在"));
    // Unbuffered, so that a short write (disk full, file size limit) shows in write()'s result;
    // a buffered device drops the unwritten rest at commit() and still reports success.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return fail(describe(file));
    qsizetype done = 0;
    while (done < bytes.size()) {
        const qint64 n = file.write(bytes.constData() + done, bytes.size() - done);
        if (n <= 0) return fail(describe(file));
        done += n;
    }
    if (!file.commit()) {
        if (error) *error = QStringLiteral("无法保存“%1”：%2").arg(shown, describe(file));
        return false;
    }
    return true;
}
