// A program for the start-up and memory figures of mirosta_bench, run as a fresh process each time:
//   mirosta_startup_probe bare             shows one empty window; prints when it was painted
//   mirosta_startup_probe main FOLDER      starts the main window on FOLDER/a.bz; prints when the
//                                          window's first paint was over and when today's list was
//   mirosta_startup_probe memory FOLDER    also opens the editor and waits for all its records,
//                                          then prints the resident MB and both grids' records
//   mirosta_startup_probe memory-closed FOLDER   opens the editor by 插入数据, closes it once it
//                                          holds every record; prints the resident MB then and
//                                          the records it held (-1 if it is still there)
//   mirosta_startup_probe memory-bare      prints the resident MB of a bare window
//   mirosta_startup_probe plain            shows a plain Qt window holding what the main window
//                                          shows at its first paint; prints when it was painted
//   mirosta_startup_probe memory-plain     prints the resident MB of that plain window
// Times are in milliseconds since MIROSTA_PROBE_SPAWNED, the monotonic clock's nanoseconds read by
// the benchmark just before it started the probe. It runs on the offscreen platform with a clock
// standing on the benchmarks' day.

#include <time.h>
#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QMainWindow>
#include <QMenuBar>
#include <QTableWidget>
#include <QWidget>
#include <QWindow>
#include <cstdio>
#include <fstream>
#include <memory>

#include "benchsupport.h"
#include "editor/editorcommand.h"
#include "editor/editorwindow.h"
#include "mainwindow/mainwindow.h"
#include "platform/clock.h"
#include "platform/messageservice.h"
#include "platform/programfont.h"
#include "records/specimenrecord.h"

namespace {

double residentMegabytes() {
    long pages = 0;
    long resident = 0;
    std::ifstream("/proc/self/statm") >> pages >> resident;
    return double(resident) * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

double sinceSpawn() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const double spawned = qEnvironmentVariable("MIROSTA_PROBE_SPAWNED").toDouble();
    return (double(now.tv_sec) * 1e9 + double(now.tv_nsec) - spawned) / 1e6;
}

// Notes when a window's first paint is over: the window and every widget in it drawn, and the
// image handed to the screen. Qt draws them all in one go, when the window is exposed or asks for
// an update; the filter delivers those two events itself to read the clock once they are done.
// (The window's own paint event comes first, before its menu bar and table draw their text.)
class FirstPaint : public QObject {
  public:
    explicit FirstPaint(QWidget* window) : m_window(window) { qApp->installEventFilter(this); }
    double at = -1;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (at >= 0) return false;
        if (watched == m_window && event->type() == QEvent::Paint) m_painted = true;
        const bool drawsAll =
            (watched == m_window && event->type() == QEvent::UpdateRequest) ||
            (watched == m_window->windowHandle() && event->type() == QEvent::Expose);
        if (!drawsAll || m_delivering) return false;
        m_delivering = true;
        watched->event(event);
        m_delivering = false;
        if (m_painted) at = sinceSpawn();
        return true;
    }

  private:
    QWidget* m_window;
    bool m_delivering = false;
    bool m_painted = false;
};

// A window with what the main window shows at its first paint, built from Qt's own widgets alone:
// the menu bar's titles and an empty table headed like the grid, in the program's font. Drawing
// this text at all (font configuration, Chinese fonts, their glyphs) is most of the main window's
// cost beyond a bare window.
std::unique_ptr<QWidget> plainWindow() {
    auto window = std::make_unique<QMainWindow>();
    for (const char* title : {"菜单", "运行", "数据编辑", "软件设置", "帮助"})
        window->menuBar()->addMenu(QString::fromUtf8(title));
    const QStringList& headings = recordHeadings();
    auto* table = new QTableWidget(1, int(headings.size()) - 1, window.get());
    table->setHorizontalHeaderLabels(headings.mid(1));
    table->setFont(songtiFont(12));
    table->horizontalHeader()->setFont(songtiFont(12));
    table->verticalHeader()->setFont(songtiFont(12));
    window->setCentralWidget(table);
    return window;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc < 2) return 2;
    const QString mode = QString::fromLocal8Bit(argv[1]);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    QApplication app(argc, argv);
    const FixedClock clock(QDateTime(bench::kToday, QTime(12, 0)));
    RecordingMessageService messages;

    const bool plain = mode.endsWith(QLatin1String("plain"));
    if (plain || mode.endsWith(QLatin1String("bare"))) {
        const std::unique_ptr<QWidget> window = plain ? plainWindow() : std::make_unique<QWidget>();
        const FirstPaint painted(window.get());
        window->resize(872, 530);
        window->show();
        while (painted.at < 0) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        if (mode.startsWith(QLatin1String("memory")))
            printf("%.1f\n", residentMegabytes());
        else
            printf("%.2f\n", painted.at);
        return 0;
    }
    if (argc < 3) return 2;
    const AppPaths paths(QString::fromLocal8Bit(argv[2]));
    MainWindow window(paths, clock, messages);
    const FirstPaint painted(&window);
    window.startUp();
    while (window.todayListLoading()) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    QApplication::processEvents();
    const double listed = sinceSpawn();
    if (mode == QLatin1String("main")) printf("%.2f %.2f\n", painted.at, listed);
    if (mode == QLatin1String("memory")) {
        EditorWindow editor(paths, clock, messages, &window);
        editor.show();
        while (editor.recordsLoading()) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        QApplication::processEvents();
        printf("%.1f %d %d\n", residentMegabytes(), window.grid().rows() - 2,
               editor.grid().rows() - 2);
    }
    if (mode == QLatin1String("memory-closed")) {
        // The editor as 插入数据 opens it, closed again once it shows every record.
        installEditorCommand(window);
        window.action(QStringLiteral("crsj"))->trigger();
        auto* editor = window.findChild<EditorWindow*>();
        while (editor->recordsLoading()) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        const int records = editor->grid().rows() - 2;
        editor->close();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QApplication::processEvents();
        printf("%.1f %d\n", residentMegabytes(), window.findChild<EditorWindow*>() ? -1 : records);
    }
    return 0;
}
