// The reminder pop-ups on a fake screen, wired into the main window: where they stand, how they
// fade in, and which slots their closing and the program's end set free.

#include <QAction>
#include <QListWidget>
#include <QRect>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include "mainwindow/mainwindow.h"
#include "platform/clock.h"
#include "platform/messageservice.h"
#include "platform/screenmetrics.h"
#include "records/recordloader.h"
#include "reminders/popupplacement.h"
#include "reminders/reminderfiles.h"
#include "reminders/reminderpopup.h"
#include "reminders/reminderpopupfactory.h"
#include "reminders/reminders.h"

using namespace reminderfiles;

namespace {
QtMessageHandler g_next = nullptr;  // passes on all but the offscreen platform's complaints
void quiet(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (!text.startsWith(QLatin1String("This plugin does not support")))
        g_next(type, context, text);
}
}  // namespace

class TestReminderPopup : public QObject {
    Q_OBJECT
    FixedScreenMetrics m_screen{1024, 768, 728};  // a 40-pixel taskbar at the bottom
    RecordingMessageService m_messages;

  private slots:
    void initTestCase() { g_next = qInstallMessageHandler(quiet); }
    // Pop-ups of 324 x 173 pixels (no window frame) in every group, on the primary screen's
    // available area given as left, top, width, height.
    void placement_data() {
        QTest::addColumn<QRect>("area");
        QTest::addColumn<int>("position");
        QTest::addColumn<QList<int>>("lefts");  // groups 1 to 5
        QTest::addColumn<int>("top");
        const QList<int> narrow = {700, 376, 52, 0, 0};  // 1024 wide: groups 4 and 5 clamped
        // clang-format off
        QTest::newRow("768 px, bottom taskbar, position 1")
            << QRect(0, 0, 1024, 728) << 1 << narrow << 555;
        QTest::newRow("768 px, position 3") << QRect(0, 0, 1024, 728) << 3 << narrow << 209;
        QTest::newRow("768 px, too high a position stays on the screen")
            << QRect(0, 0, 1024, 728) << 9 << narrow << 0;
        QTest::newRow("1080 px, position 5") << QRect(0, 0, 1920, 1040) << 5
            << QList<int>{1596, 1272, 948, 624, 300} << 175;
        QTest::newRow("1080 px, taskbar on the right") << QRect(0, 0, 1856, 1080) << 1
            << QList<int>{1532, 1208, 884, 560, 236} << 907;
        QTest::newRow("primary right of another screen") << QRect(1920, 0, 1280, 984) << 1
            << QList<int>{2876, 2552, 2228, 1920, 1920} << 811;
        QTest::newRow("primary left of and below the origin") << QRect(-1280, 200, 1280, 984)
            << 2 << QList<int>{-324, -648, -972, -1280, -1280} << 838;
        QTest::newRow("panel on the left") << QRect(64, 0, 960, 768) << 1
            << QList<int>{700, 376, 64, 64, 64} << 595;
        // clang-format on
    }
    void placement() {
        QFETCH(QRect, area);
        QFETCH(int, position);
        QFETCH(QList<int>, lefts);
        QFETCH(int, top);
        const FixedScreenMetrics screen(QRect(area.topLeft(), QSize(area.width(), 1080)), area);
        for (int group = 1; group <= 5; ++group)
            QCOMPARE(popupTopLeft(screen, {324, 173}, group, position),
                     QPoint(lefts[group - 1], top));
    }

    // A line wider than the window wraps inside it; the window keeps its size.
    void longLinesWrap() {
        QTemporaryDir dir;
        const QString longLine = QStringLiteral("备注:") + QString(40, u'长') + "PB-0000000000000";
        ReminderPopup popup(*ReminderSlot::fromName("1|1"), {QStringLiteral("编号:1"), longLine},
                            {}, dir.filePath("ts.ini"), m_screen, m_messages);
        popup.show();
        QVERIFY(QTest::qWaitForWindowExposed(&popup));
        QCOMPARE(popup.size(), QSize(ReminderPopup::kClientWidth, ReminderPopup::kClientHeight));
        QListWidget* list = popup.list();
        const QRect shortLine = list->visualItemRect(list->item(0));
        QTRY_VERIFY(list->visualItemRect(list->item(1)).height() >= 3 * shortLine.height());
        QVERIFY(list->visualItemRect(list->item(1)).right() < list->viewport()->width());
        QCOMPARE(list->item(1)->text(), longLine);
    }

    void fadeLevels() {
        QTemporaryDir dir;
        ReminderPopup popup(*ReminderSlot::fromName("1|1"), {}, {}, dir.filePath("ts.ini"),
                            m_screen, m_messages);
        popup.show();
        QList<int> levels, expected;
        int ticks = 0;
        for (; popup.fadeTimer()->isActive() && ticks < 1000; ++ticks) {
            popup.Timer1_Timer();
            const int level = qRound(popup.windowHandle()->opacity() * 255);
            if (levels.isEmpty() || levels.last() != level) levels.append(level);
        }
        QCOMPARE(ticks, 129);
        for (int level = 2; level <= 254; level += 2) expected.append(level);
        QCOMPARE(levels, expected);
    }

    // Two rows due in the same minute: two pop-ups, the second one window height above the first.
    void dueRowsOpenPopupsThatFreeTheirSlots() {
        QTemporaryDir dir;
        const QString ini = dir.filePath("ts.ini");
        FixedClock clock(at("2024-04-04 09:05:00"));
        MainWindow window(AppPaths(dir.path()), clock, m_messages);
        Reminders* reminders = installReminders(window, m_screen);
        window.action(QStringLiteral("tscsh"))->trigger();
        QCOMPARE(m_messages.texts(), {"初始化完成。此初始化仅会修改提示组数。不会对数据进行损坏"});

        RecordGrid& grid = window.grid();
        grid.setRows(4);
        const QString record = "%1号楼,C30,M%1,2024-3-7 9:05,28,2024-04-04 09:05,标准养护,36,3,急";
        for (int row : {1, 2}) {
            const QStringList fields = record.arg(row).split(u',');
            for (int c = 0; c < fields.size(); ++c) grid.setTextMatrix(row, c + 1, fields[c]);
        }
        numberRows(grid);
        emit window.scanTick();
        const QList<ReminderPopup*> popups = reminders->popups().openPopups();
        QCOMPARE(popups.size(), 2);
        QCOMPARE(popups[0]->slotName() + popups[1]->slotName(), QStringLiteral("1|11|2"));
        QStringList lines;  // as the scan copied row 2 into the slot
        for (int i = 0; i < popups[1]->list()->count(); ++i)
            lines << popups[1]->list()->item(i)->text();
        QCOMPARE(lines.join(u','),
                 "编号:2,强度等级:C30,工程部位:2号楼,配合比编号:M2,制作日期:2024-3-7 9:05,龄期:28,"
                 "养护方式:标准养护,到期时间:2024-04-04 09:05,工程量:36,组数:3,备注:急");
        const QRect first = popups[0]->frameGeometry();
        QCOMPARE(first.bottomRight() + QPoint(1, 1), QPoint(1024, 728));
        QCOMPARE(popups[1]->frameGeometry().topLeft(), first.topLeft() - QPoint(0, first.height()));

        // Closing the first writes "0" to its own flag and changes no other byte.
        QByteArray expected = readRaw(ini);
        expected.replace(expected.indexOf(g("是否显示=1")), g("是否显示=1").size(),
                         g("是否显示=0"));
        popups[0]->close();
        QCOMPARE(readRaw(ini), expected);
        QCOMPARE(flag(ini, "1|2"), "1");

        // Ending the program frees the slot of the pop-up still open.
        window.exitProgram();
        QCOMPARE(flag(ini, "1|2"), "0");
    }
};

QTEST_MAIN(TestReminderPopup)
#include "tst_reminderpopup.moc"
