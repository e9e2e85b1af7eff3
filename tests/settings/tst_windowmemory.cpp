// The main window comes back at the place and size it had, with the column widths the user gave
// its grid; damaged values give the designed window.

#include <QHeaderView>

#include "mainwindow/windowfixture.h"
#include "records/recordgridview.h"
#include "settings/windowmemory.h"

class TestWindowMemory : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    FixedClock m_clock{QDateTime(QDate(2024, 4, 4), QTime(9, 5, 30))};
    RecordingMessageService m_messages;

    std::unique_ptr<MainWindow> run() {
        auto window = std::make_unique<MainWindow>(AppPaths(m_dir.path()), m_clock, m_messages);
        installWindowMemory(*window);
        window->startUp();
        return window;
    }
    static int width(MainWindow& window, int gridColumn) {
        return window.gridView()->columnWidth(gridColumn - 1);
    }

  private slots:
    void init() {
        QFile::remove(m_dir.filePath(QStringLiteral("mirosta.ini")));
        QFile data(m_dir.filePath(QStringLiteral("a.bz")));
        QVERIFY(data.open(QIODevice::WriteOnly));
        data.write(WindowFixture::encode({recordLine("A")}));
    }

    void keptForTheNextRun() {
        {
            auto first = run();
            QCOMPARE(width(*first, 1), 87);  // 1300 twips
            first->setGeometry(40, 50, 600, 400);
            first->gridView()->horizontalHeader()->resizeSection(0, 200);  // dragged by the user
            first->gridView()->horizontalHeader()->resizeSection(6, 90);
            first->action(QStringLiteral("dq"))->trigger();  // a reload keeps them
            QCOMPARE(width(*first, 1), 200);
            first->close();
        }
        auto second = run();
        QCOMPARE(second->geometry(), QRect(40, 50, 600, 400));
        QCOMPARE(width(*second, 1), 200);
        QCOMPARE(width(*second, 2), 93);  // designed, 1400 twips
        QCOMPARE(width(*second, 7), 90);  // one the start-up leaves at the default
    }

    void damagedValues() {
        QFile ini(m_dir.filePath(QStringLiteral("mirosta.ini")));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write(
            "[mainWindow]\ngeometry=@ByteArray(\\x1\\xd9\\xd0\\xcb)\n"
            "columnWidths=abc, 1, 99999999, , 3000\n");
        ini.close();
        auto second = run();
        const MainWindow designed(AppPaths(m_dir.path()), m_clock, m_messages);
        QCOMPARE(second->size(), designed.size());  // a cut record gave a window of one pixel
        QCOMPARE(width(*second, 1), 87);
        QCOMPARE(width(*second, 2), 93);
        QCOMPARE(width(*second, 4), 200);  // the one sensible value, 3000 twips
        QVERIFY(m_messages.messages().isEmpty());
    }
};

QTEST_MAIN(TestWindowMemory)
#include "tst_windowmemory.moc"
