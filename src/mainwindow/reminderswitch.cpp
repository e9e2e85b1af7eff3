#include "mainwindow/reminderswitch.h"

#include <QAction>

#include "mainwindow/mainwindow.h"
#include "platform/lenientnumber.h"
#include "platform/messageservice.h"

namespace {
const QString kTitle = QStringLiteral("提示");
}

ReminderSwitch::ReminderSwitch(MainWindow& window) : QObject(&window), m_window(window) {
    connect(window.action(QStringLiteral("kq")), &QAction::triggered, this, &ReminderSwitch::start);
    connect(window.action(QStringLiteral("bg")), &QAction::triggered, this, [this] {
        stop();
        m_window.setScanStoppedByUser(true);
    });
}

void ReminderSwitch::start() {
    const qint64 interval = leadingInteger(m_window.scanIntervalText());
    // Nothing due today, or an interval that would leave the scan stopped: not a success.
    if (m_window.grid().rows() == 2 || interval <= 0) {
        m_window.messages().show(kTitle, QStringLiteral("开启失败"), MessageIcon::Warning);
        return;
    }
    m_window.messages().show(kTitle, QStringLiteral("已经开启"), MessageIcon::Information);
    m_window.setScanInterval(interval);
    m_window.setScanStoppedByUser(false);
    m_window.showScanSwitch(true);
}

void ReminderSwitch::stop() {
    m_window.setScanInterval(0);
    m_window.messages().show(kTitle, QStringLiteral("已经关闭"), MessageIcon::None);
    m_window.showScanSwitch(false);
}
