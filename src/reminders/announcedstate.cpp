#include "reminders/announcedstate.h"

#include <QCryptographicHash>
#include <QRegularExpression>

#include "platform/gbkcodec.h"
#include "platform/textfile.h"
#include "records/specimenrecord.h"

namespace {

const QString kHeader = QStringLiteral(
    "# Mirosta 近几日已提醒的记录：到期时间、记录标识、记录内容；“已检查至”是提醒检查到的时间。"
    "删除本文件后，今日已提醒过的记录会在下次启动时再提醒一次。");
const QString kLastScanKey = QStringLiteral("已检查至");
constexpr int kIdentityDigits = 16;

}  // namespace

AnnouncedState::AnnouncedState(QString path) : m_path(std::move(path)) {}

void AnnouncedState::load() {
    static const QRegularExpression kIdentity(QStringLiteral("^[0-9a-f]{16}$"));
    m_entries.clear();
    m_lastScan.clear();
    for (const QByteArray& raw : readLines(m_path).lines) {
        const QString line = gbk::decode(raw);
        const qsizetype first = line.indexOf(u'\t');
        if (first < 0) continue;
        if (QStringView(line).left(first) == kLastScanKey) {
            const QString minute = line.mid(first + 1);
            if (isDueTimeText(minute)) m_lastScan = minute;
            continue;
        }
        const qsizetype second = line.indexOf(u'\t', first + 1);
        if (second < 0) continue;
        Entry entry{line.left(first), line.mid(first + 1, second - first - 1),
                    line.mid(second + 1)};
        if (!isDueTimeText(entry.dueMinute) || !kIdentity.match(entry.identity).hasMatch())
            continue;
        m_entries.append(std::move(entry));
    }
}

bool AnnouncedState::save(QString* error) const {
    QString text = kHeader + QStringLiteral("\r\n");
    if (!m_lastScan.isEmpty()) text += kLastScanKey + u'\t' + m_lastScan + QStringLiteral("\r\n");
    for (const Entry& e : m_entries)
        text += e.dueMinute + u'\t' + e.identity + u'\t' + e.text + QStringLiteral("\r\n");
    return writeFileAtomically(m_path, gbk::encode(text), error);
}

bool AnnouncedState::dropBefore(const QDate& day) {
    const QString first = day.toString(QStringLiteral("yyyy-MM-dd"));
    return m_entries.removeIf([&](const Entry& e) { return e.dueMinute < first; }) > 0;
}

QString AnnouncedState::identityOf(const QString& recordText) {
    return QString::fromLatin1(
        QCryptographicHash::hash(recordText.toUtf8(), QCryptographicHash::Sha1)
            .toHex()
            .left(kIdentityDigits));
}

void AnnouncedState::add(const QString& dueMinute, const QString& recordText) {
    // The text is for a reader only; it must stay on its line.
    QString text = recordText;
    text.replace(u'\r', u' ').replace(u'\n', u' ');
    m_entries.append({dueMinute, identityOf(recordText), text});
}

bool AnnouncedState::carryOver(const QString& fromText, const QString& toText) {
    const QString from = identityOf(fromText);
    for (qsizetype i = m_entries.size() - 1; i >= 0; --i) {
        if (m_entries.at(i).identity != from) continue;
        add(m_entries.at(i).dueMinute, toText);
        return true;
    }
    return false;
}

QHash<QString, int> AnnouncedState::counts() const {
    QHash<QString, int> counts;
    for (const Entry& e : m_entries) ++counts[e.identity];
    return counts;
}
