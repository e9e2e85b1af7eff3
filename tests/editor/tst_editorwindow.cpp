// The record editor on the offscreen platform: 添加 from the typed fields to the bytes of a.bz, the
// questions and refusals before it saves, a failed save, and a.bz read behind a progress bar.

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "editor/editorcommand.h"
#include "editor/editorwindow.h"
#include "editor/recordediting.h"
#include "mainwindow/mainwindow.h"
#include "platform/clock.h"
#include "platform/messageservice.h"
#include "records/recordgridview.h"
#include "reminders/reminderfiles.h"
#include "support/filesizelimit.h"

using namespace reminderfiles;

namespace {

QByteArray twoRecords() {
    return g(
        "1号楼基础,C35,PB-001,2024-3-1 08:00,7,2024-03-08 08:00,标准养护,12,1,,\r\n"
        "2号楼梁,C30,PB-002,2024-3-2 10:30,28,2024-03-30 10:30,同级养护,24,2,加急,\r\n"
        ",,,,,,,,,,");
}

// An a.bz long enough to be read in the background.
QByteArray longFile() {
    const QByteArray record = twoRecords().first(twoRecords().indexOf('\n') + 1);
    return record.repeated(EditorWindow::kBackgroundLoadBytes / record.size() + 1) + ",,,,,,,,,,";
}

template <typename T = QLineEdit>
T* control(QWidget& window, const QString& name) {
    return window.findChild<T*>(name);
}

// Each edit is "objectName=text".
void edit(QWidget& window, const QStringList& edits) {
    for (const QString& e : edits) {
        const QString name = e.section(u'=', 0, 0), text = e.section(u'=', 1);
        if (auto* combo = control<QComboBox>(window, name))
            combo->setEditText(text);
        else
            control(window, name)->setText(text);
    }
}

// What was said, in order: a question as "stale" (是/否/取消 about the due time), "due" (是/否
// about it), "far" (a casting date a year away), "past" (a due time passed on an earlier day),
// "past today" or "same" (about a record the file holds already), anything else as its text.
QStringList said(const RecordingMessageService& messages) {
    QStringList said;
    for (const auto& m : messages.messages())
        said << (!m.question                                                       ? m.text
                 : m.withCancel                                                    ? "stale"
                 : m.text.contains(QStringLiteral("“到期时间”"))                   ? "due"
                 : m.text.contains(QStringLiteral("相差一年以上"))                 ? "far"
                 : m.text.startsWith(QStringLiteral("到期时间已过，本条不会提醒")) ? "past"
                 : m.text.startsWith(QStringLiteral("到期时间已过"))               ? "past today"
                                                                                   : "same");
    return said;
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

    // Opened from the menu on a long a.bz, read behind a progress bar: 添加 waits for the whole
    // file (the editor saves its grid, so a half-read one would lose records), then appends a line
    // before the line of ten commas. 关闭 hides the window; the next opening reads a.bz afresh.
    void addFromTheMenu() {
        const QByteArray file = longFile();
        QVERIFY(writeRaw(dataFile(), file));
        MainWindow window(AppPaths(m_dir->path()), m_clock, m_messages);
        installEditorCommand(window);
        window.action(QStringLiteral("crsj"))->trigger();
        EditorWindow& editor = *window.findChild<EditorWindow*>();
        QVERIFY(editor.findChild<QProgressBar*>(QStringLiteral("loadProgress"))->isVisible());
        edit(editor, {"Text1=3号楼三层柱", "Text3=PB-017", "Text8=36", "Text9=2", "Text6=28"});
        editor.computeDueTime();
        editor.addRecord();
        QCOMPARE(m_messages.texts(),
                 QStringList{"正在读取全部记录，请在读取完成后再添加。本条记录未添加。"});
        QCOMPARE(readRaw(dataFile()), file);
        QTRY_VERIFY(!editor.recordsLoading());
        editor.addRecord();
        QCOMPARE(readRaw(dataFile()),
                 file.chopped(10) +
                     g("3号楼三层柱,C30,PB-017,2024-3-7 09:05,28,2024-04-04 09:05,标准养护,36,2,,"
                       "\r\n,,,,,,,,,,"));

        control<QPushButton>(editor, "Command2")->click();
        QVERIFY(!editor.isVisible());
        QVERIFY(writeRaw(dataFile(), twoRecords()));
        window.action(QStringLiteral("crsj"))->trigger();
        QCOMPARE(window.findChildren<EditorWindow*>(), QList{&editor});
        QVERIFY(editor.isVisible());
        QCOMPARE(control(editor, "Text1")->text(), QStringLiteral("3号楼三层柱"));
        QCOMPARE(editor.grid().textMatrix(2, 1), QStringLiteral("2号楼梁"));
        QCOMPARE(m_messages.messages().size(), 1);
    }

    // The fields start as "?" leaves them for a 28-day age (due 2024-04-04 09:05); `edits` change
    // them before 添加 (a changed age or hour makes that due time stale).
    void checksBeforeAdd_data() {
        QTest::addColumn<QStringList>("edits");  // "disk full": the save fails
        QTest::addColumn<QList<Answer>>("answers");
        QTest::addColumn<QStringList>("said");  // tags as said() gives them, or part of a text
        QTest::addColumn<QString>("saved");     // the due time in a.bz; "-": nothing added
        using A = Answer;
        using L = QStringList;
        const L first = {"Text1=1号楼基础", "Combo2=C35", "Text3=PB-001", "DTPicker1=2024-3-1",
                         "Text4=08",        "Text5=00",   "Text6=7",      "Text7=2024-03-08 08:00",
                         "Text8=12",        "Text9=1"};
        const auto row = [](const char* name, const L& edits, QList<A> answers, const L& said,
                            const char* saved) {
            QTest::newRow(name) << edits << answers << said << QString::fromUtf8(saved);
        };
        row("as computed: no question", {}, {}, {}, "2024-04-04 09:05");
        row("empty, 是 adds it", {"Text7="}, {A::Yes}, {"due"}, "");
        row("empty, 否 adds nothing", {"Text7="}, {A::No}, {"due"}, "-");
        row("age 7, 是 recomputes", {"Text6=7"}, {A::Yes}, {"stale"}, "2024-03-14 09:05");
        row("age 7, 否 keeps it", {"Text6=7"}, {A::No}, {"stale"}, "2024-04-04 09:05");
        row("age 7, 取消", {"Text6=7"}, {A::Cancel}, {"stale"}, "-");
        row("hour 14, 是 recomputes", {"Text4=14"}, {A::Yes}, {"stale"}, "2024-04-04 14:05");
        row("no age beside a due time: refused", {"Text6="}, {}, {"“龄期（D）”"}, "-");
        row("fractional hour: nothing to compare", {"Text4=8.5"}, {}, {}, "2024-04-04 09:05");
        row("same as record 1, 是 adds it again", first, {A::Yes}, {"same"}, "2024-03-08 08:00");
        row("same only after recomputing, 是 then 否",
            first.mid(0, 7) + L{"Text7=2024-03-09 08:00", "Text8=12", "Text9=1"}, {A::Yes, A::No},
            {"stale", "same"}, "-");
        // A record differing from record 1 in one field only is no duplicate.
        // clang-format off
        const std::pair<const char*, const char*> oneField[] = {
            {"工程部位", "Text1=1号楼基础 "}, {"强度等级", "Combo2=C30"}, {"配合比编号", "Text3=PB-002"},
            {"制作日期", "Text5=0"}, {"龄期", "Text6=7.0"}, {"养护方式", "Combo1=同级养护"},
            {"工程量", "Text8=13"}, {"组数", "Text9=2"}, {"备注", "Text10=补做"}};
        // clang-format on
        for (const auto& [field, change] : oneField)
            row(qPrintable(QStringLiteral("differs in %1 only").arg(field)), first + L{change}, {},
                {}, "2024-03-08 08:00");
        row("differs in 到期时间 only", first + L{"Text7=2024-03-08 08:01"}, {A::No}, {"stale"},
            "2024-03-08 08:01");
        row("casting hour 25", {"Text4=25"}, {}, {"“制作时间（小时）”中的“25”"}, "-");
        row("casting minute 70", {"Text5=70"}, {}, {"“制作时间（分钟）”中的“70”"}, "-");
        const L twoYearsAgo = {"DTPicker1=2022-3-1", "Text7=2022-03-29 09:05"};
        row("casting date two years back, 否", twoYearsAgo, {A::No}, {"far"}, "-");
        row("casting date two years back, 是, due passed, 是", twoYearsAgo, {A::Yes, A::Yes},
            {"far", "past"}, "2022-03-29 09:05");
        row("due earlier today, 是",
            {"DTPicker1=2024-2-8", "Text4=9", "Text5=0", "Text7=2024-03-07 09:00"}, {A::Yes},
            {"past today"}, "2024-03-07 09:00");
        row("comma in the grade", {"Combo2=C30,"}, {}, {"“强度等级”"}, "-");
        row("line break in the remark", {"Text10=one\ntwo"}, {}, {"“备注”"}, "-");
        row("emoji in the mix number", {"Text3=PB-😀"}, {}, {"“配合比编号”"}, "-");
        row("casting date 2026-13-1", {"DTPicker1=2026-13-1"}, {}, {"“制作日期”"}, "-");
        row("disk full", {"disk full"}, {}, {"未能保存"}, "-");
    }
    void checksBeforeAdd() {
        QFETCH(QStringList, edits);
        QFETCH(QList<Answer>, answers);
        QFETCH(QStringList, said);
        QFETCH(QString, saved);
        EditorWindow editor(AppPaths(m_dir->path()), m_clock, m_messages);
        edit(editor, {"Text1=P", "Text3=M", "Text6=28"});
        editor.computeDueTime();
        const bool diskFull = edits.removeAll("disk full");
        edit(editor, edits);
        m_messages.setAnswers(answers);
        if (diskFull && !FileSizeLimit::kWorks) QSKIP("no file size limit on this system");
        if (diskFull) {
            const FileSizeLimit limit(16);
            editor.addRecord();
        } else {
            editor.addRecord();
        }

        const QStringList told = ::said(m_messages);
        QCOMPARE(told.size(), said.size());
        for (int i = 0; i < said.size(); ++i)
            QVERIFY2(told[i].contains(said[i]), qPrintable(told[i]));
        if (saved == "-") {
            QCOMPARE(readRaw(dataFile()), twoRecords());
            QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden),
                     QStringList{"a.bz"});
            QCOMPARE(editor.grid().rows(), 4);
            for (int c = 0; c < editor.grid().cols(); ++c)
                QCOMPARE(editor.grid().textMatrix(3, c), QString());
            QVERIFY(control<QLabel>(editor, "LabelSaved")->text().isEmpty());
            return;
        }
        const QStringList lines = gbk::decode(readRaw(dataFile())).split(QStringLiteral("\r\n"));
        QCOMPARE(lines.size(), 4);
        QCOMPARE(lines.at(2).section(u',', 5, 5), saved);
        QCOMPARE(editor.grid().textMatrix(3, 6), saved);
    }

    // 修改 loads a row into the fields and says so; 添加 gives way to 保存修改, which writes the
    // record in place; 删除记录 asks with the count; 撤销 takes each step back, byte for byte.
    void editDeleteUndo() {
        const QByteArray file = twoRecords();
        EditorWindow editor(AppPaths(m_dir->path()), m_clock, m_messages);
        QSignalSpy changed(&editor, &EditorWindow::recordsChanged);
        auto* banner = control<QLabel>(editor, "LabelEditing");
        auto* add = control<QPushButton>(editor, "Command1");
        editor.gridView()->selectRow(1);  // the grid's row 2
        control<QPushButton>(editor, "Command4")->click();
        QVERIFY(!banner->isHidden() && add->isHidden());
        QVERIFY2(banner->text().contains(QStringLiteral("第 2 条")), qPrintable(banner->text()));
        QCOMPARE(control(editor, "Text10")->text(), QStringLiteral("加急"));
        QCOMPARE(control(editor, "Text4")->text(), QStringLiteral("10"));
        control(editor, "Text10")->setText(QStringLiteral("改过"));
        QTest::keyClick(control(editor, "Text10"), Qt::Key_Return);  // Enter saves the change
        QVERIFY(banner->isHidden() && !add->isHidden());
        const QByteArray edited = QByteArray(file).replace(g(",加急,"), g(",改过,"));
        QCOMPARE(readRaw(dataFile()), edited);
        QCOMPARE(editor.grid().textMatrix(2, 10), QStringLiteral("改过"));
        QCOMPARE(changed.count(), 1);

        // 取消修改 leaves the record and gives the fields back.
        control(editor, "Text1")->setText(QStringLiteral("新的"));
        editor.editing().editRow(1);
        control(editor, "Text1")->setText(QStringLiteral("不要"));
        control<QPushButton>(editor, "Command8")->click();
        QCOMPARE(control(editor, "Text1")->text(), QStringLiteral("新的"));
        QCOMPARE(readRaw(dataFile()), edited);

        // A change is refused and asked about as a change; 取消 keeps the record and the editing.
        editor.editing().editRow(1);
        control(editor, "Text4")->setText("25");
        control<QPushButton>(editor, "Command7")->click();
        QVERIFY(m_messages.texts().value(0).endsWith("这条修改未保存，请修改后再保存。"));
        m_messages.clear();
        control<QPushButton>(editor, "Command8")->click();
        editor.editing().editRow(1);
        control(editor, "Text6")->setText("28");
        m_messages.setAnswers({Answer::Cancel});
        control<QPushButton>(editor, "Command7")->click();
        QVERIFY(m_messages.texts().value(0).endsWith(
            "是：改为 2024-03-29 08:00 后保存\n"
            "否：按填写的 2024-03-08 08:00 保存\n取消：不保存"));
        QVERIFY(editor.editing().isEditing());
        control<QPushButton>(editor, "Command8")->click();
        m_messages.clear();
        QCOMPARE(readRaw(dataFile()), edited);

        editor.gridView()->selectAll();
        m_messages.setAnswers({Answer::No, Answer::Yes});
        control<QPushButton>(editor, "Command5")->click();
        QCOMPARE(readRaw(dataFile()), edited);
        control<QPushButton>(editor, "Command5")->click();
        QCOMPARE(m_messages.texts().mid(0, 2),
                 QStringList(2,
                             "确定要从数据文件中删除选中的 2 条记录吗？\n"
                             "删除后可以点“撤销”（Ctrl+Z）恢复。"));
        QCOMPARE(readRaw(dataFile()), QByteArray(",,,,,,,,,,"));
        QCOMPARE(editor.grid().rows(), 2);
        QCOMPARE(QDir(m_dir->filePath("backup")).entryList(QDir::Files).size(), 1);  // one a day

        const QList<QAction*> actions = editor.actions();  // Ctrl+Z, wherever the focus is
        const auto undoKey = std::find_if(actions.begin(), actions.end(), [](QAction* a) {
            return a->shortcut() == QKeySequence(QKeySequence::Undo);
        });
        QVERIFY(undoKey != actions.end());
        (*undoKey)->trigger();
        QCOMPARE(readRaw(dataFile()), edited);
        QCOMPARE(editor.grid().textMatrix(2, 10), QStringLiteral("改过"));
        control<QPushButton>(editor, "Command6")->click();
        QCOMPARE(readRaw(dataFile()), file);
        QVERIFY(!control<QPushButton>(editor, "Command6")->isEnabled());
        QCOMPARE(changed.count(), 4);
        QCOMPARE(m_messages.messages().size(), 2);
    }

    // More ages ticked: one question listing a record per age, each with its own due time; the
    // ticks are kept for the next time.
    void severalAges_data() {
        QTest::addColumn<bool>("yes");
        QTest::newRow("是 adds them all") << true;
        QTest::newRow("否 adds none") << false;
    }
    void severalAges() {
        QFETCH(bool, yes);
        {
            EditorWindow editor(AppPaths(m_dir->path()), m_clock, m_messages);
            edit(editor, {"Text1=P", "Text3=M", "Text6=28", "TextAgeOther=90"});
            control<QCheckBox>(editor, "CheckAge3")->setChecked(true);
            control<QCheckBox>(editor, "CheckAge7")->setChecked(true);
            control<QCheckBox>(editor, "CheckAge28")->setChecked(true);
            control<QLineEdit>(editor, "TextAgeOther")->editingFinished();
            m_messages.setAnswer(yes);
            editor.addRecord();
        }
        QCOMPARE(
            m_messages.texts(),
            QStringList{"将按以下 4 个龄期各添加一条记录，到期时间按制作日期、制作时间和龄期计算："
                        "\n\n龄期 3 天，到期时间 2024-03-10 09:05\n"
                        "龄期 7 天，到期时间 2024-03-14 09:05\n"
                        "龄期 28 天，到期时间 2024-04-04 09:05\n"
                        "龄期 90 天，到期时间 2024-06-05 09:05\n\n添加这些记录吗？"});
        QByteArray lines;
        for (const char* age : {"3,2024-03-10", "7,2024-03-14", "28,2024-04-04", "90,2024-06-05"})
            lines += g("P,C30,M,2024-3-7 09:05,") + age + g(" 09:05,标准养护,,,,\r\n");
        QCOMPARE(readRaw(dataFile()),
                 yes ? twoRecords().chopped(10) + lines + ",,,,,,,,,," : twoRecords());
        EditorWindow again(AppPaths(m_dir->path()), m_clock, m_messages);
        QVERIFY(control<QCheckBox>(again, "CheckAge7")->isChecked());
        QVERIFY(!control<QCheckBox>(again, "CheckAge14")->isChecked());
        QCOMPARE(control(again, "TextAgeOther")->text(), QStringLiteral("90"));
    }

    // Age hours carried past a whole day give a due time that names no minute: never reminded.
    void severalAgesNeverReminded() {
        EditorWindow editor(AppPaths(m_dir->path()), m_clock, m_messages);
        edit(editor, {"Text1=P", "Text3=M", "Text4=23", "Text6=28", "Text2=30"});
        control<QCheckBox>(editor, "CheckAge7")->setChecked(true);
        m_messages.setAnswer(false);
        editor.addRecord();
        QVERIFY(m_messages.texts().last().contains("到期时间 2024-03-15 29:05，不会提醒\n"));
    }

    // Two programs adding 500 records each to one a.bz at the same time: 1,000 records, none lost,
    // none doubled. Each is this test program running addMany().
    void twoWritersAddAtOnce() {
        QList<QProcess*> writers;
        for (const char* name : {"A", "B"}) {
            auto* p = new QProcess(this);
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert("MIROSTA_ADD_MANY", m_dir->path() + u'|' + QLatin1String(name));
            p->setProcessEnvironment(env);
            p->start(QCoreApplication::applicationFilePath(), {"addMany"});
            writers << p;
        }
        for (QProcess* p : writers) {
            QVERIFY(p->waitForFinished(240'000));
            QVERIFY2(p->exitCode() == 0, p->readAllStandardOutput().constData());
        }
        QSet<QString> remarks;
        const QStringList lines = gbk::decode(readRaw(dataFile())).split("\r\n");
        for (const QString& line : lines) remarks.insert(line.section(u',', 9, 9));
        QCOMPARE(lines.size(), 2 + 1000 + 1);
        QCOMPARE(remarks.size(), 1 + 1000 + 1);  // "", "加急" and one per record added
    }
    void addMany() {
        const QStringList task = qEnvironmentVariable("MIROSTA_ADD_MANY").split(u'|');
        if (task.size() != 2) QSKIP("run by twoWritersAddAtOnce");
        EditorWindow editor(AppPaths(task[0]), m_clock, m_messages);
        QTRY_VERIFY(!editor.recordsLoading());
        edit(editor, {"Text1=P", "Text3=M", "Text6=28"});
        editor.computeDueTime();
        for (int i = 0; i < 500; ++i) {
            control(editor, "Text10")->setText(task[1] + QString::number(i));
            editor.addRecord();
            QVERIFY2(m_messages.messages().isEmpty(), qPrintable(m_messages.texts().join("; ")));
        }
    }

    // Closing the editor or ending the program while a.bz is read loses and saves nothing.
    void closedDuringTheLoad_data() {
        QTest::addColumn<bool>("program");  // the program ends, rather than the editor closing
        QTest::newRow("editor closed") << false;
        QTest::newRow("program ended") << true;
    }
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
        edit(*editor, {"Text1=新", "Text3=M"});
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
