// The record editor on the offscreen platform: the whole road from typed fields to the bytes of
// a.bz, the refusals, a save that fails, the compute messages, the controls and the menu command.

#include <sys/resource.h>
#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>

#include "editor/editorcommand.h"
#include "editor/editorwindow.h"
#include "mainwindow/mainwindow.h"
#include "platform/clock.h"
#include "platform/gbkcodec.h"
#include "platform/messageservice.h"
#include "records/recordgrid.h"
#include "records/recordgridview.h"

namespace {

const QByteArray kTenCommas = QByteArrayLiteral(",,,,,,,,,,");

QByteArray twoRecords() {
    return gbk::encode(
        u"1号楼基础,C35,PB-001,2024-3-1 08:00,7,2024-03-08 08:00,标准养护,12,1,,\r\n"
        u"2号楼梁,C30,PB-002,2024-3-2 10:30,28,2024-03-30 10:30,同级养护,24,2,加急,\r\n"
        u",,,,,,,,,,");
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray readBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

template <typename T>
T* control(QWidget& window, const char* name) {
    return window.findChild<T*>(QString::fromLatin1(name));
}

void setText(QWidget& window, const char* name, const QString& text) {
    if (auto* combo = control<QComboBox>(window, name))
        combo->setEditText(text);
    else
        control<QLineEdit>(window, name)->setText(text);
}

// Types the text key by key, Chinese characters included, as an input method delivers them.
void type(QWidget& window, const char* name, const QString& text) {
    QWidget* target = control<QWidget>(window, name);
    for (const QChar ch : text)
        QTest::sendKeyEvent(QTest::Click, target, Qt::Key_unknown, QString(ch), Qt::NoModifier);
}

void click(QWidget& window, const char* name) {
    QTest::mouseClick(control<QPushButton>(window, name), Qt::LeftButton);
}

// Lowers the file size limit so that the next write fails as on a full disk; root included.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lowered = m_saved;
        lowered.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &lowered);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_oldHandler);
    }

  private:
    rlimit m_saved{};
    void (*m_oldHandler)(int) = nullptr;
};

}  // namespace

class TestEditorWindow : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void wholeRoad();
    void refusesFieldTheFileCannotStore_data();
    void refusesFieldTheFileCannotStore();
    void failedSaveChangesNothing_data();
    void failedSaveChangesNothing();
    void computeWithoutUsableAge_data();
    void computeWithoutUsableAge();
    void controlsAsDesigned_data();
    void controlsAsDesigned();
    void tabOrder();
    void menuCommandOpensHidesAndRecreates();

  private:
    std::unique_ptr<QTemporaryDir> m_dir;
    FixedClock m_clock{QDateTime(QDate(2024, 3, 7), QTime(9, 5, 42))};
    RecordingMessageService m_messages;
};

void TestEditorWindow::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    m_messages.clear();
}

void TestEditorWindow::wholeRoad() {
    const QString path = m_dir->filePath(QStringLiteral("a.bz"));
    writeBytes(path, twoRecords());
    EditorWindow editor(AppPaths(m_dir->path()), m_clock, m_messages);
    QCOMPARE(editor.grid().rows(), 4);
    QCOMPARE(editor.grid().textMatrix(2, 1), QStringLiteral("2号楼梁"));

    type(editor, "Text1", QStringLiteral("3号楼三层柱"));
    type(editor, "Text3", QStringLiteral("PB-017"));
    type(editor, "Text8", QStringLiteral("36"));
    type(editor, "Text9", QStringLiteral("2"));
    type(editor, "Text6", QStringLiteral("28"));
    click(editor, "Command3");
    QCOMPARE(control<QLineEdit>(editor, "Text7")->text(), QStringLiteral("2024-04-04 09:05"));
    click(editor, "Command1");

    QVERIFY2(m_messages.messages().isEmpty(), qPrintable(m_messages.texts().join('\n')));
    const QByteArray expected =
        twoRecords().chopped(kTenCommas.size()) +
        gbk::encode(
            u"3号楼三层柱,C30,PB-017,2024-3-7 09:05,28,2024-04-04 09:05,标准养护,36,2,,\r\n") +
        kTenCommas;
    QCOMPARE(readBytes(path), expected);
    QCOMPARE(editor.grid().rows(), 5);
    QCOMPARE(editor.grid().textMatrix(3, 0), QStringLiteral("3"));
    QCOMPARE(editor.grid().textMatrix(3, 6), QStringLiteral("2024-04-04 09:05"));
    QCOMPARE(editor.grid().textMatrix(4, 0), QString());

    // The fields stay: a second add stores the same record again, numbered 4.
    click(editor, "Command1");
    QCOMPARE(editor.grid().textMatrix(4, 0), QStringLiteral("4"));
    QCOMPARE(readBytes(path).count(gbk::encode(u"3号楼三层柱")), 2);
}

void TestEditorWindow::refusesFieldTheFileCannotStore_data() {
    QTest::addColumn<QByteArray>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("name");

    auto row = [](const char* name, const char* field, const char* text, const char* label) {
        QTest::newRow(name) << QByteArray(field) << QString::fromUtf8(text)
                            << QString::fromUtf8(label);
    };
    row("comma in the project part", "Text1", "A,B", "工程部位");
    row("comma typed into the grade", "Combo2", "C30,", "强度等级");
    row("line break in the remark", "Text10", "one\ntwo", "备注");
    row("carriage return in the due time", "Text7", "2024-04-04\r09:05", "到期时间");
    row("emoji in the mix number", "Text3", "PB-😀", "配合比编号");
    row("comma in the casting minute", "Text5", "05,1", "分钟");
}

void TestEditorWindow::refusesFieldTheFileCannotStore() {
    QFETCH(QByteArray, field);
    QFETCH(QString, text);
    QFETCH(QString, name);
    const QString path = m_dir->filePath(QStringLiteral("a.bz"));
    writeBytes(path, twoRecords());
    EditorWindow editor(AppPaths(m_dir->path()), m_clock, m_messages);
    setText(editor, "Text1", QStringLiteral("P"));
    setText(editor, "Text3", QStringLiteral("M"));
    setText(editor, field.constData(), text);

    click(editor, "Command1");
    QCOMPARE(m_messages.messages().size(), 1);
    QVERIFY2(m_messages.messages().first().text.contains(name),
             qPrintable(m_messages.messages().first().text));
    QCOMPARE(readBytes(path), twoRecords());
    QCOMPARE(editor.grid().rows(), 4);
    QCOMPARE(editor.grid().textMatrix(3, 1), QString());
}

void TestEditorWindow::failedSaveChangesNothing_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("data folder inside a regular file") << "parent is a file";
    QTest::newRow("disk full") << "file size limit";
}

void TestEditorWindow::failedSaveChangesNothing() {
    QFETCH(QString, how);
    QString dataDir = m_dir->path();
    if (how == "parent is a file") {
        writeBytes(m_dir->filePath(QStringLiteral("plain")), "x");
        dataDir = m_dir->filePath(QStringLiteral("plain/data"));
    } else {
        writeBytes(m_dir->filePath(QStringLiteral("a.bz")), twoRecords());
    }
    const QString path = AppPaths(dataDir).dataFilePath();
    const QByteArray before = readBytes(path);
    EditorWindow editor(AppPaths(dataDir), m_clock, m_messages);
    const int rows = editor.grid().rows();
    setText(editor, "Text1", QStringLiteral("新记录"));
    setText(editor, "Text3", QStringLiteral("PB-9"));
    {
        std::unique_ptr<FileSizeLimit> limit;
        if (how == "file size limit") limit = std::make_unique<FileSizeLimit>(16);
        click(editor, "Command1");
    }

    QCOMPARE(m_messages.messages().size(), 1);
    QCOMPARE(m_messages.messages().first().title, QStringLiteral("错误"));
    QVERIFY(m_messages.messages().first().text.contains(QStringLiteral("a.bz")));
    QCOMPARE(readBytes(path), before);
    QCOMPARE(editor.grid().rows(), rows);
    for (int c = 0; c < editor.grid().cols(); ++c)
        QCOMPARE(editor.grid().textMatrix(rows - 1, c), QString());
    if (how != "parent is a file")
        QCOMPARE(QDir(dataDir).entryList(QDir::Files | QDir::Hidden), QStringList{"a.bz"});

    // Once the cause is gone the same record is added normally.
    if (how != "parent is a file") {
        click(editor, "Command1");
        QCOMPARE(editor.grid().rows(), rows + 1);
        QVERIFY(readBytes(path).contains(gbk::encode(u"新记录,C30,PB-9,")));
    }
}

void TestEditorWindow::computeWithoutUsableAge_data() {
    QTest::addColumn<QString>("age");
    QTest::newRow("empty age") << QString();
    QTest::newRow("blank age counts as filled") << QStringLiteral(" ");
    QTest::newRow("half a day") << QStringLiteral("0.5");
    QTest::newRow("no number") << QStringLiteral("abc");
    QTest::newRow("due date beyond the calendar") << QStringLiteral("3000000");
}

void TestEditorWindow::computeWithoutUsableAge() {
    QFETCH(QString, age);
    EditorWindow editor(AppPaths(m_dir->path()), m_clock, m_messages);
    setText(editor, "Text7", QStringLiteral("2024-01-01 00:00"));
    setText(editor, "Text6", age);

    click(editor, "Command3");
    QCOMPARE(m_messages.messages().size(), 1);
    const auto& message = m_messages.messages().first();
    if (age.isEmpty()) {
        QCOMPARE(message.title, QStringLiteral("错误"));
        QCOMPARE(message.text, QStringLiteral("龄期未填写，无法进行添加"));
    } else {
        QCOMPARE(message.title, QStringLiteral("提示"));
        QVERIFY(message.text.contains(QStringLiteral("无法计算")));
    }
    QCOMPARE(control<QLineEdit>(editor, "Text7")->text(), QStringLiteral("2024-01-01 00:00"));
}

void TestEditorWindow::controlsAsDesigned_data() {
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QRect>("twips");  // left, top, width, height
    QTest::addColumn<QString>("content");

    auto row = [](const char* name, QRect twips, const char* content) {
        QTest::newRow(name) << QByteArray(name) << twips << QString::fromUtf8(content);
    };
    row("Text1", {1230, 60, 1185, 375}, "");
    row("Combo2", {3420, 45, 1455, 300}, "C30");
    row("Text3", {1260, 495, 1185, 375}, "");
    row("Combo1", {3420, 495, 1425, 300}, "标准养护");
    row("Text8", {1260, 990, 1200, 330}, "");
    row("Text9", {3420, 945, 1335, 330}, "");
    row("DTPicker1", {1215, 1440, 1275, 330}, "2024-3-7");
    row("Text4", {3465, 1455, 555, 270}, "09");
    row("Text5", {4230, 1455, 555, 270}, "05");
    row("Text6", {1215, 1890, 795, 375}, "");
    row("Command3", {2070, 1890, 405, 375}, "?");
    row("Text2", {3465, 1935, 615, 270}, "0");
    row("Text11", {4230, 1935, 585, 270}, "0");
    row("Text7", {1170, 2385, 3630, 375}, "");
    row("Text10", {1170, 2880, 3630, 480}, "");
    row("Command1", {405, 3765, 1095, 375}, "添加");
    row("Command2", {3825, 3765, 1095, 375}, "关闭");
    row("Label13", {1035, 4215, 3075, 240}, "请添加完成后关闭本软件，重启生效。");
}

void TestEditorWindow::controlsAsDesigned() {
    QFETCH(QByteArray, name);
    QFETCH(QRect, twips);
    QFETCH(QString, content);
    EditorWindow editor(AppPaths(m_dir->path()), m_clock, m_messages);
    QCOMPARE(editor.objectName(), QStringLiteral("Form2"));
    QCOMPARE(editor.windowTitle(), QStringLiteral("增添提醒数据   右侧显示全部龄期信息。 "));
    QCOMPARE(editor.size(), QSize(831, 310));

    QWidget* widget = control<QWidget>(editor, name.constData());
    QVERIFY(widget);
    const QRect expected(qRound(twips.x() / 15.0), qRound(twips.y() / 15.0),
                         qRound(twips.width() / 15.0), qRound(twips.height() / 15.0));
    QCOMPARE(widget->geometry(), expected);
    QString shown;
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) shown = edit->text();
    if (auto* combo = qobject_cast<QComboBox*>(widget)) shown = combo->currentText();
    if (auto* date = qobject_cast<QDateEdit*>(widget)) shown = date->text();
    if (auto* button = qobject_cast<QPushButton*>(widget)) shown = button->text();
    if (auto* label = qobject_cast<QLabel*>(widget)) shown = label->text();
    QCOMPARE(shown, content);
    // Buttons and labels are named by their text; the entry fields need a name of their own.
    if (!qobject_cast<QLabel*>(widget) && !qobject_cast<QPushButton*>(widget))
        QVERIFY(!widget->accessibleName().isEmpty());
}

void TestEditorWindow::tabOrder() {
    EditorWindow editor(AppPaths(m_dir->path()), m_clock, m_messages);
    const QStringList expected = {"Text1",     "Combo2", "Text3",  "Combo1",   "Text8",    "Text9",
                                  "DTPicker1", "Text4",  "Text5",  "Text6",    "Command3", "Text2",
                                  "Text11",    "Text7",  "Text10", "Command1", "Command2", "Grid1"};
    editor.show();
    QVERIFY(QTest::qWaitForWindowActive(&editor));
    control<QLineEdit>(editor, "Text1")->setFocus();
    QStringList visited;
    for (int i = 0; i < expected.size(); ++i) {
        QWidget* w = QApplication::focusWidget();
        while (w && !expected.contains(w->objectName())) w = w->parentWidget();
        visited << (w ? w->objectName() : QStringLiteral("?"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    QCOMPARE(visited, expected);
}

void TestEditorWindow::menuCommandOpensHidesAndRecreates() {
    const QString path = m_dir->filePath(QStringLiteral("a.bz"));
    writeBytes(path, twoRecords());
    MainWindow window(AppPaths(m_dir->path()), m_clock, m_messages);
    installEditorCommand(window);
    QAction* crsj = window.action(QStringLiteral("crsj"));

    crsj->trigger();
    QPointer<EditorWindow> first = window.findChild<EditorWindow*>();
    QVERIFY(first);
    QVERIFY(first->isVisible());
    QCOMPARE(first->windowModality(), Qt::WindowModal);
    QCOMPARE(first->grid().rows(), 4);
    setText(*first, "Text1", QStringLiteral("typed"));

    // 关闭 hides; the next opening shows the same window, fields kept, records read afresh.
    click(*first, "Command2");
    QVERIFY(!first->isVisible());
    writeBytes(path, gbk::encode(u"only,C30,M,,,,,,,,\r\n,,,,,,,,,,"));
    crsj->trigger();
    QCOMPARE(window.findChild<EditorWindow*>(), first.data());
    QVERIFY(first->isVisible());
    QCOMPARE(control<QLineEdit>(*first, "Text1")->text(), QStringLiteral("typed"));
    QCOMPARE(first->grid().rows(), 3);
    QCOMPARE(first->grid().textMatrix(1, 1), QStringLiteral("only"));

    // The frame's close button destroys it; the next opening starts afresh.
    first->close();
    crsj->trigger();
    EditorWindow* second = nullptr;
    for (EditorWindow* e : window.findChildren<EditorWindow*>())
        if (e != first.data()) second = e;
    QVERIFY(second);
    QVERIFY(second->isVisible());
    QCOMPARE(control<QLineEdit>(*second, "Text1")->text(), QString());
    QTRY_VERIFY(first.isNull());
    QVERIFY(m_messages.messages().isEmpty());
}

QTEST_MAIN(TestEditorWindow)
#include "tst_editorwindow.moc"
