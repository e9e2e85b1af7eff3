#include "platform/profile.h"

#include <QFileInfo>

#include "platform/gbkcodec.h"
#include "platform/textfile.h"

namespace {

const QByteArray kCrLf = QByteArrayLiteral("\r\n");

bool isBlank(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\v' || c == u'\f' || c == QChar(0x1A);
}

// Trims the blanks the profile functions trim: ASCII white space only, so a leading ideographic
// space in a Chinese value survives.
QStringView trimBlanks(QStringView text) {
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && isBlank(text.at(first))) ++first;
    while (last > first && isBlank(text.at(last - 1))) --last;
    return text.sliced(first, last - first);
}

bool sameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

QString oneLine(QString text) {
    text.replace(u'\r', u' ');
    text.replace(u'\n', u' ');
    return text;
}

}  // namespace

Profile::Profile(const QByteArray& bytes) {
    QList<QByteArray> ends;
    const QList<QByteArray> lines = splitLines(bytes, &ends);
    m_lines.reserve(lines.size());
    for (qsizetype i = 0; i < lines.size(); ++i) m_lines.append(parse(lines.at(i), ends.at(i)));
}

Profile::Line Profile::parse(QByteArray text, QByteArray end) {
    Line line;
    line.text = std::move(text);
    line.end = std::move(end);
    // Decoded before looking for brackets: "[" and "]" can be the second byte of a GBK character.
    const QString decoded = gbk::decode(line.text);
    const QStringView trimmed = trimBlanks(decoded);
    if (trimmed.isEmpty() || trimmed.startsWith(u';')) return line;
    if (trimmed.startsWith(u'[')) {
        const qsizetype close = trimmed.lastIndexOf(u']');
        if (close > 0) {
            line.kind = Kind::Header;
            line.name = trimBlanks(trimmed.sliced(1, close - 1)).toString();
            return line;
        }
    }
    line.kind = Kind::Entry;
    const qsizetype equals = trimmed.indexOf(u'=');
    if (equals < 0) {
        line.name = trimmed.toString();
        return line;
    }
    line.name = trimBlanks(trimmed.first(equals)).toString();
    line.value = trimBlanks(trimmed.sliced(equals + 1)).toString();
    line.value.remove(QChar(0));
    return line;
}

Profile::Line Profile::entryLine(const QString& key, const QString& value) {
    const QString v = oneLine(value);
    Line line;
    line.text = gbk::encode(QString(key + u'=' + v));
    line.end = kCrLf;
    line.kind = Kind::Entry;
    line.name = key;
    line.value = trimBlanks(v).toString();
    return line;
}

bool Profile::load(const QString& path, QString* error) {
    m_lines.clear();
    const FileContent content = readWholeFile(path);
    if (content.status == FileStatus::Unreadable) {
        if (error) *error = content.error;
        return false;
    }
    *this = Profile(content.bytes);
    return true;
}

bool Profile::save(const QString& path, QString* error) const {
    return writeFileAtomically(path, bytes(), error);
}

QByteArray Profile::bytes() const {
    QByteArray out;
    qsizetype size = 0;
    for (const Line& line : m_lines) size += line.text.size() + line.end.size();
    out.reserve(size);
    for (const Line& line : m_lines) {
        out += line.text;
        out += line.end;
    }
    return out;
}

int Profile::findSection(const QString& section) const {
    for (int i = 0; i < m_lines.size(); ++i) {
        const Line& line = m_lines.at(i);
        if (line.kind == Kind::Header && sameName(line.name, section)) return i;
    }
    return -1;
}

int Profile::sectionEnd(int header) const {
    int i = header + 1;
    while (i < m_lines.size() && m_lines.at(i).kind != Kind::Header) ++i;
    return i;
}

std::optional<QString> Profile::value(const QString& section, const QString& key) const {
    const int header = findSection(section);
    if (header < 0) return std::nullopt;
    const int end = sectionEnd(header);
    for (int i = header + 1; i < end; ++i) {
        const Line& line = m_lines.at(i);
        if (line.kind == Kind::Entry && sameName(line.name, key)) return line.value;
    }
    return std::nullopt;
}

void Profile::endLastLine() {
    if (!m_lines.isEmpty() && m_lines.last().end.isEmpty()) m_lines.last().end = kCrLf;
}

void Profile::setString(const QString& section, const QString& key, const QString& value) {
    const int header = findSection(section);
    if (header < 0) {
        endLastLine();
        Line head;
        head.text = gbk::encode(QString(u'[' + section + u']'));
        head.end = kCrLf;
        head.kind = Kind::Header;
        head.name = section;
        m_lines.append(head);
        m_lines.append(entryLine(key, value));
        return;
    }
    const int end = sectionEnd(header);
    int lastFilled = header;
    for (int i = header + 1; i < end; ++i) {
        Line& line = m_lines[i];
        if (line.kind == Kind::Entry && sameName(line.name, key)) {
            // The key keeps its spelling: only the value changes.
            Line replaced = entryLine(line.name, value);
            replaced.end = line.end;
            line = replaced;
            return;
        }
        if (line.kind != Kind::Other || !trimBlanks(gbk::decode(line.text)).isEmpty())
            lastFilled = i;
    }
    Line& before = m_lines[lastFilled];
    if (before.end.isEmpty()) before.end = kCrLf;
    m_lines.insert(lastFilled + 1, entryLine(key, value));
}

bool writeProfileString(const QString& path, const QString& section, const QString& key,
                        const QString& value, QString* error) {
    Profile profile;
    if (!profile.load(path, error)) return false;
    profile.setString(section, key, value);
    return profile.save(path, error);
}

QString ReadProfileValue(const QString& section, const QString& key, const QString& path) {
    if (!QFileInfo::exists(path)) return {};
    Profile profile;
    if (!profile.load(path)) return {};
    return profile.value(section, key).value_or(QString());
}

QStringList profileSectionNames(const QByteArray& bytes) {
    QStringList names;
    forEachLine(bytes, [&names](QByteArrayView raw) {
        // A "[" decoded comes from a byte "[" (which can also be the second byte of a two-byte
        // character): a line without that byte holds no header.
        if (!raw.contains('[')) return;
        QString line = gbk::decode(raw);
        if (!line.contains(u'[')) return;
        line.remove(u'[');
        line.remove(u']');
        names.append(line);
    });
    return names;
}

QStringList ListProfileSections(const QString& path) {
    const FileContent content = readWholeFile(path);
    if (content.status != FileStatus::Ok) return {};
    return profileSectionNames(content.bytes);
}
