// The main window on the offscreen platform: start-up states, the captions, the resize rule and the
// reload command.

#include <QAction>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "mainwindow/mainwindow.h"
#include "platform/clock.h"
#include "platform/gbkcodec.h"
#include "platform/messageservice.h"
#include "records/recordgridview.h"

namespace {

const QDateTime kNow(QDate(2024, 4, 4), QTime(9, 5, 30));

QByteArray recordLine(const QString& part, const QString& due) {
    return gbk::encode(
        QStringLiteral("%1,C30,PB-017,2024-3-7 09:05,28,%2,标准养护,36,2,,").arg(part, due));
}

}  // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
  private:
    QTemporaryDir m_dir;
    FixedClock m_clock{kNow};
    RecordingMessageService m_messages;

    void writeData(const QByteArray& bytes) {
        QFile f(QDir(m_dir.path()).filePath(QStringLiteral("a.bz")));
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }
    std::unique_ptr<MainWindow> start() {
        auto w = std::make_unique<MainWindow>(AppPaths(m_dir.path()), m_clock, m_messages);
        w->startUp();
        return w;
    }

  private slots:
    void init() {
        QFile::remove(QDir(m_dir.path()).filePath(QStringLiteral("a.bz")));
        QDir(m_dir.path()).rmdir(QStringLiteral("a.bz"));
        m_messages.clear();
    }

    void startUpStates_data() {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<int>("rows");
        QTest::addColumn<bool>("scanning");
        QTest::newRow("no file") << QByteArray() << 2 << false;
        QTest::newRow("nothing due today")
            << recordLine(QStringLiteral("甲"), QStringLiteral("2024-04-05 09:05")) << 2 << false;
        QTest::newRow("two due today")
            << recordLine(QStringLiteral("甲"), QStringLiteral("2024-04-04 09:05")) + "\r\n" +
                   recordLine(QStringLiteral("乙"), QStringLiteral("2024-04-04 23:59")) +
                   "\r\n,,,,,,,,,,"
            << 4 << true;
    }
    void startUpStates() {
        QFETCH(QByteArray, data);
        QFETCH(int, rows);
        QFETCH(bool, scanning);
        if (!data.isEmpty()) writeData(data);
        auto w = start();
        QCOMPARE(w->grid().rows(), rows);
        QCOMPARE(w->scanTimer()->isActive(), scanning);
        if (scanning) QCOMPARE(w->scanTimer()->interval(), 5000);
        QCOMPARE(w->action(QStringLiteral("kq"))->isEnabled(), !scanning);
        QCOMPARE(w->action(QStringLiteral("bg"))->isEnabled(), scanning);
        QCOMPARE(w->grid().textMatrix(rows - 1, 0), QString());
        QVERIFY(m_messages.messages().isEmpty());
    }

    void captions() {
        auto w = start();
        QCOMPARE(w->windowTitle(), QStringLiteral("正在获取正确的版本信息。"));
        m_clock.set(QDateTime(QDate(2024, 4, 4), QTime(9, 5, 0)));
        QTRY_COMPARE_WITH_TIMEOUT(w->windowTitle(),
                                  QStringLiteral("Mirosta V2.2  2024-04-04 09:05:00"), 3000);
        m_clock.set(kNow);
    }

    void unreadableFileIsReportedAndLeftAlone() {
        QVERIFY(QDir(m_dir.path()).mkdir(QStringLiteral("a.bz")));
        auto w = start();
        QCOMPARE(w->grid().rows(), 2);
        QCOMPARE(m_messages.messages().size(), 1);
        QVERIFY(m_messages.messages().first().text.contains(QStringLiteral("无法读取数据文件")));
        QVERIFY(QFileInfo(QDir(m_dir.path()).filePath(QStringLiteral("a.bz"))).isDir());
    }

    void resizeRule_data() {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("tiny");
        QTest::newRow("designed size") << QSize(872, 530) << false;
        QTest::newRow("too small for the grid") << QSize(1, 1) << true;
    }
    void resizeRule() {
        QFETCH(QSize, size);
        QFETCH(bool, tiny);
        auto w = start();
        w->setMinimumSize(1, 1);
        w->resize(size);
        QTRY_COMPARE(w->size(), size);
        // 100 twips across and 950 twips down less than the outer size, at 15 twips a pixel.
        const QSize outer = w->frameGeometry().size();
        const QSize expected =
            tiny ? QSize(1, 1)
                 : QSize((outer.width() * 15 - 100) / 15, (outer.height() * 15 - 950) / 15);
        QCOMPARE(w->gridView()->size(), expected);
    }

    void reloadDropsMarksAndColours() {
        writeData(recordLine(QStringLiteral("甲"), QStringLiteral("2024-04-04 09:05")) + "\r\n" +
                  recordLine(QStringLiteral("乙"), QStringLiteral("2024-04-03 09:05")));
        auto w = start();
        QCOMPARE(w->grid().rows(), 3);
        w->grid().setTextMatrix(1, 11, QStringLiteral("到期"));
        w->grid().setRow(1);
        w->grid().setCol(3);
        w->grid().setCellForeColor(RecordGrid::kYellow);
        writeData(recordLine(QStringLiteral("甲"), QStringLiteral("2024-04-04 09:05")) + "\r\n" +
                  recordLine(QStringLiteral("丙"), QStringLiteral("2024-04-04 10:00")));
        w->action(QStringLiteral("dq"))->trigger();
        QCOMPARE(w->grid().rows(), 4);
        QCOMPARE(w->grid().textMatrix(1, 11), QString());
        QCOMPARE(w->grid().cellForeColor(1, 3), RecordGrid::kDefaultColour);
        QCOMPARE(w->grid().textMatrix(2, 1), QStringLiteral("丙"));
        QCOMPARE(w->grid().textMatrix(2, 0), QStringLiteral("2"));
        QCOMPARE(w->grid().textMatrix(3, 0), QString());
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
