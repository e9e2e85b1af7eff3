// The record editor on the offscreen platform: from the menu and typed fields to the bytes of
// a.bz and back, the questions before 添加 saves, the refusals, a failed save, typed dates and
// Enter (the end-to-end check drives the rest of the keyboard).

#include <sys/resource.h>
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QLabel>
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

// Each question asked, as "due" (是/否 about the due time), "stale" (是/否/取消 about the due time)
// or "same" (是/否 about a record already in the file); "?" for anything else.
QStringList questionsAsked(const RecordingMessageService& messages) {
    QStringList tags;
    for (const auto& m : messages.messages()) {
        if (!m.question) continue;
        if (m.withCancel && m.text.contains(QStringLiteral("“到期时间”")))
            tags << QStringLiteral("stale");
        else if (!m.withCancel && m.text.contains(QStringLiteral("“到期时间”")))
            tags << QStringLiteral("due");
        else if (!m.withCancel && m.text.contains(QStringLiteral("相同的记录")))
            tags << QStringLiteral("same");
        else
            tags << QStringLiteral("?");
    }
    return tags;
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
        QCOMPARE(control<QLabel>(editor, "LabelSaved")->text(),
                 QStringLiteral("已保存，到期时间：2024-04-04 09:05"));
        click(editor, "Command1");  // the fields stay: the same record again, asked, numbered 4
        QCOMPARE(questionsAsked(m_messages), QStringList{"same"});
        QVERIFY(m_messages.texts().first().contains(QStringLiteral("第 3 条")));
        m_messages.clear();
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

        // A refused field is refused before any question; the failed save comes after 是 to the
        // empty due time.
        QCOMPARE(questionsAsked(m_messages), field.isEmpty() ? QStringList{"due"} : QStringList{});
        const QString toldText = m_messages.texts().last();
        QCOMPARE(m_messages.messages().size(), field.isEmpty() ? 2 : 1);
        QVERIFY2(toldText.contains(told), qPrintable(toldText));
        QVERIFY(control<QLabel>(editor, "LabelSaved")->text().isEmpty());
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
        setText(editor, "Text6", QStringLiteral("28"));
        click(editor, "Command3");
        click(editor, "Command1");
        QCOMPARE(m_messages.messages().size(), 1);
        QCOMPARE(readRaw(dataFile()),
                 file.chopped(10) +
                     g("新,C30,M,2024-3-7 09:05,28,2024-04-04 09:05,标准养护,,,,\r\n,,,,,,,,,,"));
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

    // The questions of 添加 and each answer. The fields start as "?" left them for a 28-day age
    // (due 2024-04-04 09:05); `edits` change them before 添加.
    void questionsBeforeAdd_data() {
        QTest::addColumn<QStringList>("edits");  // "objectName=text"
        QTest::addColumn<QList<Answer>>("answers");
        QTest::addColumn<QStringList>("asked");
        QTest::addColumn<QString>("saved");  // the due time in a.bz; "-": nothing added
        using A = Answer;
        const QStringList firstRecord = {
            "Text1=1号楼基础", "Combo2=C35", "Text3=PB-001", "DTPicker1=2024-3-1",
            "Text4=08",        "Text5=00",   "Text6=7",      "Text7=2024-03-08 08:00",
            "Text8=12",        "Text9=1"};
        // clang-format off
        QTest::newRow("as computed: no question") << QStringList{} << QList<A>{} << QStringList{} << "2024-04-04 09:05";
        QTest::newRow("empty, 是 adds it") << QStringList{"Text7="} << QList<A>{A::Yes} << QStringList{"due"} << "";
        QTest::newRow("empty, 否 adds nothing") << QStringList{"Text7="} << QList<A>{A::No} << QStringList{"due"} << "-";
        QTest::newRow("no zero in front, 是") << QStringList{"Text7=2024-4-4 9:05"} << QList<A>{A::Yes} << QStringList{"due"} << "2024-4-4 9:05";
        QTest::newRow("no zero in front, 否") << QStringList{"Text7=2024-4-4 9:05"} << QList<A>{A::No} << QStringList{"due"} << "-";
        QTest::newRow("impossible date and hour, 是") << QStringList{"Text7=2026-02-30 25:00"} << QList<A>{A::Yes} << QStringList{"due"} << "2026-02-30 25:00";
        QTest::newRow("impossible date and hour, 否") << QStringList{"Text7=2026-02-30 25:00"} << QList<A>{A::No} << QStringList{"due"} << "-";
        QTest::newRow("age changed to 7 after ?, 是 recomputes") << QStringList{"Text6=7"} << QList<A>{A::Yes} << QStringList{"stale"} << "2024-03-14 09:05";
        QTest::newRow("age changed to 7 after ?, 否 keeps it") << QStringList{"Text6=7"} << QList<A>{A::No} << QStringList{"stale"} << "2024-04-04 09:05";
        QTest::newRow("age changed to 7 after ?, 取消") << QStringList{"Text6=7"} << QList<A>{A::Cancel} << QStringList{"stale"} << "-";
        QTest::newRow("casting hour changed, 是") << QStringList{"Text4=14"} << QList<A>{A::Yes} << QStringList{"stale"} << "2024-04-04 14:05";
        QTest::newRow("no age: nothing to compare") << QStringList{"Text6="} << QList<A>{} << QStringList{} << "2024-04-04 09:05";
        QTest::newRow("age below a day: nothing to compare") << QStringList{"Text6=0.5"} << QList<A>{} << QStringList{} << "2024-04-04 09:05";
        QTest::newRow("fractional hour computes no due time") << QStringList{"Text4=8.5"} << QList<A>{} << QStringList{} << "2024-04-04 09:05";
        QTest::newRow("same as record 1, 是 adds it again") << firstRecord << QList<A>{A::Yes} << QStringList{"same"} << "2024-03-08 08:00";
        QTest::newRow("same as record 1, 否") << firstRecord << QList<A>{A::No} << QStringList{"same"} << "-";
        QTest::newRow("same only after recomputing, 是 then 否")
            << QStringList(firstRecord.mid(0, 7)) + QStringList{"Text7=2024-03-09 08:00", "Text8=12", "Text9=1"}
            << QList<A>{A::Yes, A::No} << QStringList{"stale", "same"} << "-";
        QTest::newRow("another remark is another record") << firstRecord + QStringList{"Text10=x"} << QList<A>{} << QStringList{} << "2024-03-08 08:00";
        // clang-format on
    }
    void questionsBeforeAdd() {
        QFETCH(QStringList, edits);
        QFETCH(QList<Answer>, answers);
        QFETCH(QStringList, asked);
        QFETCH(QString, saved);
        EditorWindow editor(AppPaths(m_dir->path()), m_clock, m_messages);
        setText(editor, "Text1", QStringLiteral("P"));
        setText(editor, "Text3", QStringLiteral("M"));
        setText(editor, "Text6", QStringLiteral("28"));
        editor.computeDueTime();
        for (const QString& edit : edits)
            setText(editor, qPrintable(edit.section(u'=', 0, 0)), edit.section(u'=', 1));
        m_messages.setAnswers(answers);
        editor.addRecord();

        QCOMPARE(questionsAsked(m_messages), asked);
        QCOMPARE(m_messages.messages().size(), asked.size());  // and nothing else said
        const QString status = control<QLabel>(editor, "LabelSaved")->text();
        if (saved == "-") {
            QCOMPARE(readRaw(dataFile()), twoRecords());
            QCOMPARE(editor.grid().rows(), 4);
            QVERIFY(status.isEmpty());
            return;
        }
        const QStringList lines = gbk::decode(readRaw(dataFile())).split(QStringLiteral("\r\n"));
        QCOMPARE(lines.size(), 4);
        QCOMPARE(lines.at(2).section(u',', 5, 5), saved);
        QCOMPARE(editor.grid().textMatrix(3, 6), saved);
        QCOMPARE(control(editor, "Text7")->text(), saved);
        QVERIFY2(status.startsWith(QStringLiteral("已保存")) && status.contains(saved),
                 qPrintable(status));
    }

    // Typed casting dates give exactly that date to "?" and to the record, or are refused.
    void typedCastingDate_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("due");    // empty: refused
        QTest::addColumn<QString>("shown");  // the field's text once left
        // clang-format off
        QTest::newRow("2026-11-5") << "2026-11-5" << "2026-12-03 09:05" << "2026-11-5";
        QTest::newRow("20261105") << "20261105" << "2026-12-03 09:05" << "2026-11-5";
        QTest::newRow("2026-13-1 refused") << "2026-13-1" << "" << "2026-13-1";
        // clang-format on
    }
    void typedCastingDate() {
        QFETCH(QString, typed);
        QFETCH(QString, due);
        QFETCH(QString, shown);
        EditorWindow editor(AppPaths(m_dir->path()), m_clock, m_messages);
        editor.show();
        QVERIFY(QTest::qWaitForWindowExposed(&editor));
        auto* date = control(editor, "DTPicker1");
        date->setFocus();
        date->selectAll();
        QTest::keyClicks(date, typed);
        control(editor, "Text6")->setFocus();  // leaves the date field
        QCOMPARE(date->text(), shown);
        QCOMPARE(date->palette().color(QPalette::Text) == QColor(Qt::red), due.isEmpty());
        setText(editor, "Text6", QStringLiteral("28"));
        setText(editor, "Text7", QStringLiteral("unchanged"));
        click(editor, "Command3");
        QCOMPARE(control(editor, "Text7")->text(), due.isEmpty() ? "unchanged" : due);
        QCOMPARE(m_messages.texts().size(), due.isEmpty() ? 1 : 0);
        if (!due.isEmpty()) return;
        QVERIFY(m_messages.texts().first().contains(QStringLiteral("“制作日期”")));
        QCOMPARE(editor.focusWidget(), date);
        click(editor, "Command1");  // 添加 refuses it too, before any question
        QCOMPARE(questionsAsked(m_messages), QStringList{});
        QCOMPARE(readRaw(dataFile()), twoRecords());
    }

    // Enter presses the focused button; in an entry field "?" while the due time is empty, 添加
    // otherwise. Esc hides the window like 关闭.
    void keyboard_data() {
        QTest::addColumn<QByteArray>("focus");
        QTest::addColumn<QString>("due");  // the due time before the key
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("result");  // computed, added or hidden
        // clang-format off
        QTest::newRow("Enter in the grade box, no due time") << QByteArray("Combo2") << "" << int(Qt::Key_Return) << "computed";
        QTest::newRow("keypad Enter in the remark, due time filled") << QByteArray("Text10") << "2024-04-04 09:05" << int(Qt::Key_Enter) << "added";
        QTest::newRow("Enter on ? with a due time") << QByteArray("Command3") << "2024-01-01 00:00" << int(Qt::Key_Return) << "computed";
        QTest::newRow("Enter on 关闭") << QByteArray("Command2") << "" << int(Qt::Key_Return) << "hidden";
        // clang-format on
    }
    void keyboard() {
        QFETCH(QByteArray, focus);
        QFETCH(QString, due);
        QFETCH(int, key);
        QFETCH(QString, result);
        EditorWindow editor(AppPaths(m_dir->path()), m_clock, m_messages);
        editor.show();
        QVERIFY(QTest::qWaitForWindowExposed(&editor));
        setText(editor, "Text1", QStringLiteral("P"));
        setText(editor, "Text3", QStringLiteral("M"));
        setText(editor, "Text6", QStringLiteral("28"));
        setText(editor, "Text7", due);
        QWidget* target = editor.findChild<QWidget*>(QString::fromLatin1(focus));
        if (auto* combo = qobject_cast<QComboBox*>(target)) target = combo->lineEdit();
        target->setFocus();
        QTest::keyClick(target, Qt::Key(key),
                        key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
        const QString computed = QStringLiteral("2024-04-04 09:05");
        QCOMPARE(control(editor, "Text7")->text(), result == "computed" ? computed : due);
        QCOMPARE(editor.grid().rows(), result == "added" ? 5 : 4);
        QCOMPARE(editor.isVisible(), result != "hidden");
        QCOMPARE(control(editor, "Text1")->text(), QStringLiteral("P"));
    }
};

QTEST_MAIN(TestEditorWindow)
#include "tst_editorwindow.moc"
