// The reminder pop-up on a fake screen: where it stands, what it lists, how it fades in, what its
// closing writes, and the engine wired into the main window (pop-ups stacking, slots released when
// the program ends).

#include <QAction>
#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include "mainwindow/mainwindow.h"
#include "platform/clock.h"
#include "platform/gbkcodec.h"
#include "platform/messageservice.h"
#include "platform/profile.h"
#include "platform/screenmetrics.h"
#include "records/recordloader.h"
#include "records/specimenrecord.h"
#include "reminders/popupplacement.h"
#include "reminders/reminderengine.h"
#include "reminders/reminderfiles.h"
#include "reminders/reminderpopup.h"
#include "reminders/reminderpopupfactory.h"
#include "reminders/reminders.h"
#include "reminders/slottable.h"

using namespace reminderfiles;

namespace {

void addDueRows(RecordGrid& grid, const QStringList& parts, const QString& due) {
    grid.setRows(static_cast<int>(parts.size()) + 2);
    for (int i = 0; i < parts.size(); ++i) {
        grid.setTextMatrix(i + 1, 1, parts.at(i));
        grid.setTextMatrix(i + 1, recordcolumns::kDueTime, due);
    }
    numberRows(grid);
}

// The offscreen platform says, for every pop-up, that it neither raises windows nor sets their
// opacity (the opacity is still kept on the window); those lines are dropped.
QtMessageHandler g_previousHandler = nullptr;
void quietHandler(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (text.startsWith(QLatin1String("This plugin does not support"))) return;
    if (g_previousHandler) g_previousHandler(type, context, text);
}

}  // namespace

class TestReminderPopup : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { g_previousHandler = qInstallMessageHandler(quietHandler); }
    void init();
    void cleanup();
    void placement_data();
    void placement();
    void windowDesign();
    void fadeLevels();
    void closeFreesOwnSlotOnly();
    void installedInMainWindow();

  private:
    QString profilePath() const { return m_dir->filePath(QStringLiteral("ts.ini")); }
    QString flag(const QString& slot) const {
        return ReadProfileValue(slot, QStringLiteral("是否显示"), profilePath());
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    FixedScreenMetrics m_screen{1024, 768, 728};  // a 40-pixel taskbar at the bottom
    RecordingMessageService m_messages;
};

void TestReminderPopup::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    m_messages.clear();
}

void TestReminderPopup::cleanup() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<ReminderPopup*>(w)) delete w;
}

void TestReminderPopup::placement_data() {
    QTest::addColumn<int>("workBottom");
    QTest::addColumn<QSize>("outer");
    QTest::addColumn<int>("position");
    QTest::addColumn<QPoint>("topLeft");

    // clang-format off
    QTest::newRow("position 1 on the taskbar") << 728 << QSize(324, 173) << 1 << QPoint(700, 555);
    QTest::newRow("position 2 one height higher") << 728 << QSize(324, 173) << 2 << QPoint(700, 382);
    QTest::newRow("with a window frame") << 728 << QSize(330, 200) << 3 << QPoint(694, 128);
    QTest::newRow("taskbar elsewhere: the screen's bottom") << 768 << QSize(324, 173) << 1 << QPoint(700, 595);
    QTest::newRow("too high a position stays on the screen") << 728 << QSize(324, 173) << 9 << QPoint(700, 0);
    // clang-format on
}

void TestReminderPopup::placement() {
    QFETCH(int, workBottom);
    QFETCH(QSize, outer);
    QFETCH(int, position);
    QFETCH(QPoint, topLeft);
    const FixedScreenMetrics screen(1024, 768, workBottom);
    QCOMPARE(popupTopLeft(screen, outer, position), topLeft);
}

void TestReminderPopup::windowDesign() {
    const QStringList lines = {"编号:1",      "强度等级:C30", "工程部位:<b>柱</b>",
                               "配合比编号:", "制作日期:",    "龄期:",
                               "养护方式:",   "到期时间:",    "工程量:",
                               "组数:",       "备注:"};
    ReminderPopup popup(*ReminderSlot::fromName("1|1"), lines, profilePath(), m_screen, m_messages);
    popup.show();

    QCOMPARE(popup.objectName(), QStringLiteral("Form5"));
    QCOMPARE(popup.windowTitle(), QStringLiteral("数据提示"));
    QVERIFY(popup.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(popup.windowFlags().testFlag(Qt::WindowDoesNotAcceptFocus));
    QCOMPARE(popup.windowType(), Qt::Tool);
    QVERIFY(!popup.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(popup.testAttribute(Qt::WA_ShowWithoutActivating));
    QCOMPARE(popup.size(), QSize(324, 173));
    QCOMPARE(popup.minimumSize(), popup.maximumSize());  // not resizable
    QCOMPARE(popup.list()->objectName(), QStringLiteral("List1"));
    QCOMPARE(popup.list()->geometry(), QRect(0, 0, 321, 172));

    QStringList shown;
    for (int i = 0; i < popup.list()->count(); ++i) shown << popup.list()->item(i)->text();
    QCOMPARE(shown, lines);
}

void TestReminderPopup::fadeLevels() {
    ReminderPopup popup(*ReminderSlot::fromName("1|1"), {}, profilePath(), m_screen, m_messages);
    popup.show();
    QVERIFY(popup.windowHandle());
    QCOMPARE(popup.fadeTimer()->interval(), 3);
    QVERIFY(popup.fadeTimer()->isActive());

    QList<int> levels;
    int ticks = 0;
    while (popup.fadeTimer()->isActive() && ticks < 1000) {
        popup.Timer1_Timer();
        ++ticks;
        const int level = qRound(popup.windowHandle()->opacity() * 255);
        if (levels.isEmpty() || levels.last() != level) levels.append(level);
    }
    QCOMPARE(ticks, 129);
    QList<int> expected;
    for (int level = 2; level <= 254; level += 2) expected.append(level);
    QCOMPARE(levels, expected);
}

void TestReminderPopup::closeFreesOwnSlotOnly() {
    RecordGrid grid(2, recordcolumns::kMainGridColumns);
    addDueRows(grid, {"一号楼柱", "二号楼梁"}, QStringLiteral("2024-04-04 09:05"));
    FixedClock clock(at("2024-04-04 09:05:00"));
    ReminderPopupFactory factory(profilePath(), m_screen, m_messages);
    ReminderEngine engine(grid, clock, m_screen, m_messages, factory, profilePath());
    engine.Timer1_Timer();
    QCOMPARE(flag("1|1"), QStringLiteral("1"));

    // The first pop-up's flag, and nothing else, goes back to 0.
    QByteArray expected = readRaw(profilePath());
    const QByteArray busy = gbk::encode(u"是否显示=1");
    expected.replace(expected.indexOf(busy), busy.size(), gbk::encode(u"是否显示=0"));
    factory.openPopups().at(0)->close();
    QCOMPARE(readRaw(profilePath()), expected);
    QCOMPARE(flag("1|2"), QStringLiteral("1"));
    QCOMPARE(factory.openPopups().size(), 1);
}

void TestReminderPopup::installedInMainWindow() {
    FixedClock clock(at("2024-04-04 09:05:00"));
    MainWindow window(AppPaths(m_dir->path()), clock, m_messages);
    Reminders* reminders = installReminders(window, m_screen);

    window.action(QStringLiteral("tscsh"))->trigger();
    QCOMPARE(m_messages.texts(),
             QStringList{"初始化完成。此初始化仅会修改提示组数。不会对数据进行损坏"});
    QCOMPARE(ListProfileSections(profilePath()).size(), 15);

    addDueRows(window.grid(), {"一号楼柱", "二号楼梁"}, QStringLiteral("2024-04-04 09:05"));
    emit window.scanTick();
    const QList<ReminderPopup*> popups = reminders->popups().openPopups();
    QCOMPARE(popups.size(), 2);
    QCOMPARE(popups.at(0)->slotName(), QStringLiteral("1|1"));
    QCOMPARE(popups.at(1)->slotName(), QStringLiteral("1|2"));
    QCOMPARE(flag("1|2"), QStringLiteral("1"));
    QCOMPARE(popups.at(1)->list()->item(2)->text(), QStringLiteral("工程部位:二号楼梁"));
    // The second stands one window height above the first, on the taskbar at the right edge.
    const QRect first = popups.at(0)->frameGeometry();
    const QRect second = popups.at(1)->frameGeometry();
    QCOMPARE(first.bottom() + 1, 728);
    QCOMPARE(first.right() + 1, 1024);
    QCOMPARE(second.topLeft(), first.topLeft() - QPoint(0, first.height()));

    // Ending the program frees the slots of the pop-ups still open.
    window.exitProgram();
    QCOMPARE(flag("1|1"), QStringLiteral("0"));
    QCOMPARE(flag("1|2"), QStringLiteral("0"));
}

QTEST_MAIN(TestReminderPopup)
#include "tst_reminderpopup.moc"
