#include "reminders/slottable.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>

#include "platform/lenientnumber.h"
#include "platform/profile.h"
#include "platform/screenmetrics.h"

namespace {

constexpr int kTwipsPerSlot = 2790;

// Whether a flag text reads as the number 0. An empty or a non-numeric flag is not a free slot.
bool readsAsZero(const QString& flag) {
    const std::optional<double> number = numberAtStart(flag);
    return number && *number == 0.0;
}

}  // namespace

SlotTable::SlotTable(QString profilePath) : m_path(std::move(profilePath)) {}

bool SlotTable::exists() const {
    return QFileInfo::exists(m_path);
}

int SlotTable::positionsPerGroup(const ScreenMetrics& screen) {
    const qint64 positions = roundHalfEven(double(screen.screenHeightTwips()) / kTwipsPerSlot) - 1;
    return static_cast<int>(std::clamp<qint64>(positions, -1, 100000));
}

QStringList SlotTable::slotNames(int positionsPerGroup) {
    QStringList names;
    for (int g = 1; g <= kGroups; ++g)
        for (int p = 1; p <= positionsPerGroup; ++p) names.append(ReminderSlot::nameOf(g, p));
    return names;
}

bool SlotTable::create(int positionsPerGroup, QString* error) const {
    const QStringList names = slotNames(positionsPerGroup);
    if (names.isEmpty()) {
        if (!QFileInfo::exists(m_path) || QFile::remove(m_path)) return true;
        if (error) *error = QStringLiteral("无法删除“%1”。").arg(m_path);
        return false;
    }
    // Built entry by entry as the profile writer would, then written at once: nothing reads a
    // half-built table.
    Profile profile;
    const QString zero = QStringLiteral("0");
    for (const QString& name : names)
        for (const QString& key : ReminderSlot::tableKeys()) profile.setString(name, key, zero);
    return profile.save(m_path, error);
}

std::optional<ReminderSlot> SlotTable::findFreeSlot() const {
    Profile profile;
    if (!profile.load(m_path)) return std::nullopt;
    for (const QString& name : profileSectionNames(profile.bytes())) {
        const std::optional<QString> flag = profile.value(name, ReminderSlot::shownKey());
        if (!flag || !readsAsZero(*flag)) continue;
        if (auto slot = ReminderSlot::fromName(name)) return slot;
    }
    return std::nullopt;
}

std::optional<QStringList> SlotTable::fill(const ReminderSlot& slot, const QStringList& values,
                                           QString* error) const {
    Profile profile;
    if (!profile.load(m_path, error)) return std::nullopt;
    const auto& keys = ReminderSlot::recordKeys();
    for (int i = 0; i < keys.size(); ++i)
        profile.setString(slot.name, QString::fromUtf16(keys.at(i).key), values.value(i));
    profile.setString(slot.name, ReminderSlot::shownKey(), QStringLiteral("1"));
    if (!profile.save(m_path, error)) return std::nullopt;

    QStringList lines;
    for (const QString& key : ReminderSlot::popupKeys())
        lines.append(key + u':' + profile.value(slot.name, key).value_or(QString()));
    return lines;
}

bool SlotTable::release(const QStringList& slotNames, QString* error) const {
    if (slotNames.isEmpty() || !exists()) return true;
    Profile profile;
    if (!profile.load(m_path, error)) return false;
    bool changed = false;
    for (const QString& name : slotNames) {
        // A slot the file no longer holds (a new table, a hand-edited file) is not written back.
        if (!profile.value(name, ReminderSlot::shownKey())) continue;
        profile.setString(name, ReminderSlot::shownKey(), QStringLiteral("0"));
        changed = true;
    }
    return !changed || profile.save(m_path, error);
}

bool SlotTable::releaseAll(QString* error) const {
    Profile profile;
    if (!profile.load(m_path, error)) return false;
    QStringList busy;
    for (const QString& name : profileSectionNames(profile.bytes())) {
        const std::optional<QString> flag = profile.value(name, ReminderSlot::shownKey());
        if (flag && !readsAsZero(*flag) && ReminderSlot::fromName(name)) busy.append(name);
    }
    return release(busy, error);
}
