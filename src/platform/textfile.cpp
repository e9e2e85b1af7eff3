#include "platform/textfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QScopeGuard>

#include "platform/filereplace.h"

namespace {

// How long a save tries to replace a file that another program holds open (Windows).
constexpr int kReplaceWaitMs = 2000;

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

// Opens the file for reading, or says why not (status Missing or Unreadable, and the reason).
FileStatus openForReading(QFile& file, QString* error) {
    const QString path = file.fileName();
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink()) return FileStatus::Missing;
    if (!info.isFile()) {
        // A folder, a pipe or a device in the file's place: reading a pipe or a device could wait
        // for ever or never end.
        *error = QStringLiteral("“%1”不是普通文件。").arg(QDir::toNativeSeparators(path));
        return FileStatus::Unreadable;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        *error =
            QStringLiteral("无法打开“%1”：%2").arg(QDir::toNativeSeparators(path), describe(file));
        return FileStatus::Unreadable;
    }
    return FileStatus::Ok;
}

QString readFailure(const QFile& file) {
    return QStringLiteral("无法读取“%1”：%2")
        .arg(QDir::toNativeSeparators(file.fileName()), describe(file));
}

// Line ends share these texts instead of each holding a copy.
const QByteArray kCrLf = QByteArrayLiteral("\r\n");
const QByteArray kCr = QByteArrayLiteral("\r");
const QByteArray kLf = QByteArrayLiteral("\n");

}  // namespace

FileContent readWholeFile(const QString& path) {
    FileContent result;
    QFile file(path);
    result.status = openForReading(file, &result.error);
    if (result.status != FileStatus::Ok) return result;
    result.bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        result.status = FileStatus::Unreadable;
        result.error = readFailure(file);
        result.bytes.clear();
    }
    return result;
}

QList<QByteArray> splitLines(const QByteArray& bytes, QList<QByteArray>* ends) {
    QList<QByteArray> lines;
    const char* data = bytes.constData();
    const qsizetype n = bytes.size();
    // Room for every line at once: LF ends most lines, CR the rest.
    const qsizetype room = qMax(bytes.count('\n'), bytes.count('\r')) + 1;
    lines.reserve(room);
    if (ends) ends->reserve(room);
    qsizetype start = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const char c = data[i];
        if (c != '\r' && c != '\n') continue;
        const qsizetype endLength = (c == '\r' && i + 1 < n && data[i + 1] == '\n') ? 2 : 1;
        lines.append(bytes.mid(start, i - start));
        if (ends) ends->append(endLength == 2 ? kCrLf : c == '\r' ? kCr : kLf);
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

LineBlockReader::LineBlockReader(const QString& path, qsizetype blockSize)
    : m_file(path), m_blockSize(qMax<qsizetype>(blockSize, 16)) {
    m_status = openForReading(m_file, &m_error);
    if (m_status == FileStatus::Ok) m_size = m_file.size();
}

bool LineBlockReader::next(QByteArray& block) {
    if (m_status != FileStatus::Ok || (m_atEnd && m_carry.isEmpty())) return false;
    if (block.isDetached())
        block.truncate(0);
    else
        block = QByteArray();
    block.append(m_carry);
    m_carry.clear();
    qsizetype cut = -1;
    while (cut < 0) {
        if (!m_atEnd) {
            const qsizetype old = block.size();
            const qsizetype room = qMax(m_blockSize - old, old);
            block.resize(old + room);
            const qint64 n = m_file.read(block.data() + old, room);
            block.truncate(old + qMax<qint64>(n, 0));
            if (n < 0) {
                m_status = FileStatus::Unreadable;
                m_error = readFailure(m_file);
                m_file.close();
                block.clear();
                return false;
            }
            m_atEnd = n == 0;
            // Let go of the file as soon as it is read: on Windows an open file cannot be
            // replaced, and a caller may replace it while this reader still lives.
            if (m_atEnd) m_file.close();
        }
        if (m_atEnd) {
            cut = block.size();
            break;
        }
        // After the last line end, unless it is a CR that ends the bytes read so far: an LF may
        // follow it.
        const char* data = block.constData();
        for (qsizetype i = block.size() - 1; i >= 0 && cut < 0; --i)
            if (data[i] == '\n' || (data[i] == '\r' && i + 1 < block.size())) cut = i + 1;
    }
    m_carry = block.sliced(cut);
    block.truncate(cut);
    m_done += block.size();
    return !block.isEmpty();
}

bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString* error) {
    QSaveFile file(path);
    return writeFileAtomically(file, bytes, error);
}

bool writeFileAtomically(QSaveFile& file, const QByteArray& bytes, QString* error) {
    return writeFileAtomically(
        file, [&bytes](const ByteWriter& write) { return write(bytes); }, error);
}

bool writeFileAtomically(const QString& path, const ByteProducer& produce, QString* error) {
    QSaveFile file(path);
    return writeFileAtomically(file, produce, error);
}

bool writeFileAtomically(QSaveFile& file, const ByteProducer& produce, QString* error) {
    const QString target = file.fileName();
    const QString shown = QDir::toNativeSeparators(target);
    auto fail = [&](const QString& what) {
        if (error)
            *error =
                what.isEmpty() ? QString() : QStringLiteral("无法保存“%1”：%2").arg(shown, what);
        // Discards the temporary file now, not when the save file is destroyed: on Windows it has
        // a name in the folder meanwhile.
        file.cancelWriting();
        if (file.isOpen()) file.commit();
        return false;
    };
    const QFileInfo old(target);
    if (old.isDir()) return fail(QStringLiteral("同名的文件夹已存在"));
    // Where a rename replaces no file that another program holds open (Windows), the new file is
    // made under a name of its own beside the old one and then moved into place, tried again for a
    // moment while the old one is held. The save file's own checks of the old file are made here.
    const bool staged = !renameReplacesOpenFiles();
    const auto restoreName = qScopeGuard([&] { file.setFileName(target); });
    if (staged) {
        if (old.exists() && !old.isWritable()) return fail(QStringLiteral("没有访问权限"));
        file.setFileName(target +
                         QStringLiteral(".new-%1").arg(QCoreApplication::applicationPid()));
    }
    // Unbuffered, so that a short write (disk full, file size limit) shows in write()'s result;
    // a buffered device drops the unwritten rest at commit() and still reports success.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return fail(describe(file));

    // The pieces are gathered here and written in large writes.
    constexpr qsizetype kChunk = qsizetype(1) << 20;
    QByteArray chunk;
    chunk.reserve(kChunk);
    bool writeFailed = false;
    auto writeOut = [&](QByteArrayView bytes) {
        for (qsizetype done = 0; done < bytes.size();) {
            const qint64 n = file.write(bytes.data() + done, bytes.size() - done);
            if (n <= 0) return !(writeFailed = true);
            done += n;
        }
        return true;
    };
    const ByteWriter write = [&](QByteArrayView piece) {
        if (writeFailed) return false;
        if (chunk.size() + piece.size() > kChunk) {
            if (!writeOut(chunk)) return false;
            chunk.truncate(0);
            if (piece.size() > kChunk) return writeOut(piece);
        }
        chunk.append(piece);
        return true;
    };
    if (!produce(write) || !writeOut(chunk)) return fail(writeFailed ? describe(file) : QString());
    if (!file.commit()) {
        if (error) *error = QStringLiteral("无法保存“%1”：%2").arg(shown, describe(file));
        return false;
    }
    QString reason;
    if (staged && !moveIntoPlace(file.fileName(), target, kReplaceWaitMs, &reason)) {
        QFile::remove(file.fileName());
        if (error) *error = QStringLiteral("无法保存“%1”：%2").arg(shown, reason);
        return false;
    }
    return true;
}
