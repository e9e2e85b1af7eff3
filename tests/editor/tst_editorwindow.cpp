// The record editor on the offscreen platform: from the menu and typed fields to the bytes of
// a.bz and back, the refusals and a failed save.

#include <sys/resource.h>
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>

#include "editor/editorcommand.h"
#include "editor/editorwindow.h"
#include "mainwindow/mainwindow.h"
#include "platform/clock.h"
#include "platform/messageservice.h"
#include "reminders/reminderfiles.h"

using namespace reminderfiles;

namespace {

// An a.bz long enough to be read in the background: its records, then the line of ten commas.
QByteArray longFile() {
    const QByteArray record =
        g("1号楼基础,C35,PB-001,2024-3-1 08:00,7,2024-03-08 08:00,标准养护,12,1,,\r\n");
    return record.repeated(EditorWindow::kBackgroundLoadBytes / record.size() + 1) + ",,,,,,,,,,";
}

QByteArray twoRecords() {
    return g(
        "1号楼基础,C35,PB-001,2024-3-1 08:00,7,2024-03-08 08:00,标准养护,12,1,,\r\n"
        "2号楼梁,C30,PB-002,2024-3-2 10:30,28,2024-03-30 10:30,同级养护,24,2,加急,\r\n"
        ",,,,,,,,,,");
}

template <typename T = QLineEdit>
T* control(QWidget& window, const char* name) {
    return window.findChild<T*>(QString::fromLatin1(name));
}

void setText(QWidget& window, const char* name, const QString& text) {
    if (auto* combo = control<QComboBox>(window, name))
        combo->setEditText(text);
    else
        control(window, name)->setText(text);
}

void click(QWidget& window, const char* name) {
    QTest::mouseClick(control<QPushButton>(window, name), Qt::LeftButton);
}

}  // namespace

class TestEditorWindow : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> m_dir;
    FixedClock m_clock{QDateTime(QDate(2024, 3, 7), QTime(9, 5, 42))};
    RecordingMessageService m_messages;
    QString dataFile() const { return m_dir->filePath(QStringLiteral("a.bz")); }

  private slots:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        m_messages.clear();
        QVERIFY(writeRaw(dataFile(), twoRecords()));
    }

    // Opened from the menu on two records, filled, "?", 添加 twice; 关闭 hides it, and the next
    // opening shows the same window with the typed fields kept and the records read afresh.
    void wholeRoad() {
        MainWindow window(AppPaths(m_dir->path()), m_clock, m_messages);
        installEditorCommand(window);
        window.action(QStringLiteral("crsj"))->trigger();
        EditorWindow& editor = *window.findChild<EditorWindow*>();
        QVERIFY(editor.isVisible());
        QCOMPARE(editor.grid().rows(), 4);
        click(editor, "Command3");  // no age yet: told, nothing computed
        QCOMPARE(m_messages.texts(), QStringList{"龄期未填写，无法进行添加"});
        QCOMPARE(control(editor, "Text7")->text(), QString());
        m_messages.clear();
        setText(editor, "Text1", QStringLiteral("3号楼三层柱"));
        setText(editor, "Text3", QStringLiteral("PB-017"));
        setText(editor, "Text8", QStringLiteral("36"));
        setText(editor, "Text9", QStringLiteral("2"));
        setText(editor, "Text6", QStringLiteral("28"));
        click(editor, "Command3");
        QCOMPARE(control(editor, "Text7")->text(), QStringLiteral("2024-04-04 09:05"));
        click(editor, "Command1");
        QCOMPARE(readRaw(dataFile()),
                 twoRecords().chopped(10) +
                     g("3号楼三层柱,C30,PB-017,2024-3-7 09:05,28,2024-04-04 09:05,标准养护,36,2,,"
                       "\r\n,,,,,,,,,,"));
        QCOMPARE(editor.grid().rows(), 5);
        QCOMPARE(editor.grid().textMatrix(3, 0), QStringLiteral("3"));
        QCOMPARE(editor.grid().textMatrix(4, 0), QString());
        click(editor, "Command1");  // the fields stay: the same record again, numbered 4
        QCOMPARE(editor.grid().textMatrix(4, 0), QStringLiteral("4"));
        QCOMPARE(readRaw(dataFile()).count(g("3号楼三层柱")), 2);

        click(editor, "Command2");
        QVERIFY(!editor.isVisible());
        QVERIFY(writeRaw(dataFile(), g("only,C30,M,,,,,,,,\r\n,,,,,,,,,,")));
        window.action(QStringLiteral("crsj"))->trigger();
        QCOMPARE(window.findChildren<EditorWindow*>(), QList{&editor});
        QVERIFY(editor.isVisible());
        QCOMPARE(control(editor, "Text1")->text(), QStringLiteral("3号楼三层柱"));
        QCOMPARE(editor.grid().rows(), 3);
        QCOMPARE(editor.grid().textMatrix(1, 1), QStringLiteral("only"));
        QVERIFY(m_messages.messages().isEmpty());
    }

    // A field the file cannot store is refused naming the field; a save that fails (a full disk)
    // is told. Either way a.bz and the grid stay as they were.
    void addThatFailsChangesNothing_data() {
        QTest::addColumn<QByteArray>("field");  // empty: a full disk instead
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("told");
        // clang-format off
        QTest::newRow("comma in the project part") << QByteArray("Text1") << "A,B" << "工程部位";
        QTest::newRow("comma typed into the grade") << QByteArray("Combo2") << "C30," << "强度等级";
        QTest::newRow("line break in the remark") << QByteArray("Text10") << "one\ntwo" << "备注";
        QTest::newRow("emoji in the mix number") << QByteArray("Text3") << "PB-😀" << "配合比编号";
        QTest::newRow("disk full") << QByteArray() << "" << "a.bz";
        // clang-format on
    }
    void addThatFailsChangesNothing() {
        QFETCH(QByteArray, field);
        QFETCH(QString, text);
        QFETCH(QString, told);
        EditorWindow editor(AppPaths(m_dir->path()), m_clock, m_messages);
        setText(editor, "Text1", QStringLiteral("P"));
        setText(editor, "Text3", QStringLiteral("M"));
        if (!field.isEmpty()) setText(editor, field.constData(), text);
        std::signal(SIGXFSZ, SIG_IGN);  // a write beyond the limit fails as on a full disk
        rlimit saved{};
        getrlimit(RLIMIT_FSIZE, &saved);
        const rlimit limit{field.isEmpty() ? 16 : saved.rlim_cur, saved.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limit);
        click(editor, "Command1");
        setrlimit(RLIMIT_FSIZE, &saved);

        QCOMPARE(m_messages.messages().size(), 1);
        QVERIFY2(m_messages.texts().first().contains(told), qPrintable(m_messages.texts().first()));
        QCOMPARE(readRaw(dataFile()), twoRecords());
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden), QStringList{"a.bz"});
        QCOMPARE(editor.grid().rows(), 4);
        for (int c = 0; c < editor.grid().cols(); ++c)
            QCOMPARE(editor.grid().textMatrix(3, c), QString());
    }

    // A long file is read in the background behind a progress bar; 添加 waits for it, then adds
    // to every record.
    void longFileReadInTheBackground() {
        const QByteArray file = longFile();
        const int records = int(file.count('\n'));
        QVERIFY(writeRaw(dataFile(), file));
        EditorWindow editor(AppPaths(m_dir->path()), m_clock, m_messages);
        editor.show();
        auto* progress = editor.findChild<QProgressBar*>(QStringLiteral("loadProgress"));
        QVERIFY(editor.recordsLoading());
        QVERIFY(progress->isVisible());
        QCOMPARE(editor.grid().rows(), 2);  // nothing half-read is shown
        setText(editor, "Text1", QStringLiteral("新"));
        setText(editor, "Text3", QStringLiteral("M"));
        click(editor, "Command1");
        QCOMPARE(m_messages.texts(),
                 QStringList{"正在读取全部记录，请在读取完成后再添加。本条记录未添加。"});
        QCOMPARE(readRaw(dataFile()), file);
        QCOMPARE(editor.grid().rows(), 2);

        QTRY_VERIFY(!editor.recordsLoading());
        QVERIFY(!progress->isVisible());
        QCOMPARE(editor.grid().rows(), records + 2);
        QCOMPARE(editor.grid().textMatrix(records, 0), QString::number(records));
        click(editor, "Command1");
        QCOMPARE(m_messages.messages().size(), 1);
        QCOMPARE(readRaw(dataFile()),
                 file.chopped(10) + g("新,C30,M,2024-3-7 09:05,,,标准养护,,,,\r\n,,,,,,,,,,"));
    }

    void closedDuringTheLoad_data() {
        QTest::addColumn<bool>("program");  // the program ends, rather than the editor closing
        QTest::newRow("editor closed") << false;
        QTest::newRow("program ended") << true;
    }
    // Closing the editor or ending the program while the file is read loses and saves nothing.
    void closedDuringTheLoad() {
        QFETCH(bool, program);
        const QByteArray file = longFile();
        QVERIFY(writeRaw(dataFile(), file));
        auto window = std::make_unique<MainWindow>(AppPaths(m_dir->path()), m_clock, m_messages);
        installEditorCommand(*window);
        window->action(QStringLiteral("crsj"))->trigger();
        QPointer<EditorWindow> editor = window->findChild<EditorWindow*>();
        QVERIFY(editor->recordsLoading());
        QSignalSpy added(editor.data(), &EditorWindow::recordAdded);
        setText(*editor, "Text1", QStringLiteral("新"));
        setText(*editor, "Text3", QStringLiteral("M"));
        if (program) {
            window.reset();
        } else {
            editor->close();
            QTRY_VERIFY(!editor);
        }
        QCOMPARE(added.count(), 0);
        QCOMPARE(readRaw(dataFile()), file);
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden), QStringList{"a.bz"});
    }
};

QTEST_MAIN(TestEditorWindow)
#include "tst_editorwindow.moc"
