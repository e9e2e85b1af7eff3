#include "reminders/reminderslot.h"

#include <QRegularExpression>

QString ReminderSlot::nameOf(int group, int position) {
    return QStringLiteral("%1|%2").arg(group).arg(position);
}

std::optional<ReminderSlot> ReminderSlot::fromName(const QString& name) {
    static const QRegularExpression kPattern(
        QStringLiteral("^([1-9][0-9]{0,5})\\|([1-9][0-9]{0,5})$"));
    const QRegularExpressionMatch match = kPattern.match(name);
    if (!match.hasMatch()) return std::nullopt;
    return ReminderSlot{name, match.captured(1).toInt(), match.captured(2).toInt()};
}

QString ReminderSlot::shownKey() {
    return QStringLiteral("是否显示");
}

const QStringList& ReminderSlot::tableKeys() {
    static const QStringList kKeys = {
        QStringLiteral("是否显示"), QStringLiteral("编号"),       QStringLiteral("工程部位"),
        QStringLiteral("强度等级"), QStringLiteral("配合比编号"), QStringLiteral("制作日期"),
        QStringLiteral("龄期"),     QStringLiteral("养护方式"),   QStringLiteral("到期时间"),
        QStringLiteral("工程量"),   QStringLiteral("组数"),       QStringLiteral("备注")};
    return kKeys;
}

const QList<ReminderSlot::RecordKey>& ReminderSlot::recordKeys() {
    static const QList<RecordKey> kKeys = {{u"编号", 0},       {u"工程部位", 1}, {u"强度等级", 2},
                                           {u"配合比编号", 3}, {u"制作日期", 4}, {u"龄期", 5},
                                           {u"养护方式", 7},   {u"到期时间", 6}, {u"工程量", 8},
                                           {u"组数", 9},       {u"备注", 10}};
    return kKeys;
}

const QStringList& ReminderSlot::popupKeys() {
    static const QStringList kKeys = {
        QStringLiteral("编号"),       QStringLiteral("强度等级"), QStringLiteral("工程部位"),
        QStringLiteral("配合比编号"), QStringLiteral("制作日期"), QStringLiteral("龄期"),
        QStringLiteral("养护方式"),   QStringLiteral("到期时间"), QStringLiteral("工程量"),
        QStringLiteral("组数"),       QStringLiteral("备注")};
    return kKeys;
}
