#pragma once
// One reminder slot of ts.ini: a section named by group number, "|" and position number (1|3 is
// group 1, position 3), holding the flag 是否显示 ("0" free, "1" busy: a pop-up shows it) and a
// copy of one record. The position is the pop-up's height above the taskbar in pop-up heights;
// the group only multiplies the number of places. QtCore only.

#include <QString>
#include <QStringList>
#include <optional>

struct ReminderSlot {
    QString name;
    int group = 0;
    int position = 0;

    static QString nameOf(int group, int position);
    // The slot a section name stands for: two positive whole numbers without leading zeros joined
    // by "|". Anything else (a hand-edited or broken section) names no slot.
    static std::optional<ReminderSlot> fromName(const QString& name);

    // "是否显示", the flag.
    static QString shownKey();
    // The twelve keys in the order the initialisation writes them, the flag first.
    static const QStringList& tableKeys();
    // The eleven record keys in the order the scan writes them, with the grid column each copies.
    struct RecordKey {
        const char16_t* key;
        int column;
    };
    static const QList<RecordKey>& recordKeys();
    // The eleven record keys in the order the pop-up lists them.
    static const QStringList& popupKeys();
};
