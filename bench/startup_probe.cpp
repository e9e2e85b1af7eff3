// A program for the start-up and memory figures of mirosta_bench, run as a fresh process each time:
//   mirosta_startup_probe bare              shows one empty window and ends (the baseline)
//   mirosta_startup_probe main FOLDER       starts the main window on FOLDER/a.bz and ends when
//   shown mirosta_startup_probe memory FOLDER     also opens the editor, then prints the resident
//   MB mirosta_startup_probe memory-bare       prints the resident MB of a bare window
// It runs on the offscreen platform with a clock standing on the benchmarks' day.

#include <unistd.h>

#include <QApplication>
#include <QWidget>
#include <cstdio>
#include <fstream>
#include <memory>

#include "benchsupport.h"
#include "editor/editorwindow.h"
#include "mainwindow/mainwindow.h"
#include "platform/clock.h"
#include "platform/messageservice.h"

namespace {

double residentMegabytes() {
    long pages = 0;
    long resident = 0;
    std::ifstream("/proc/self/statm") >> pages >> resident;
    return double(resident) * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
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

    if (mode == QLatin1String("bare") || mode == QLatin1String("memory-bare")) {
        QWidget window;
        window.resize(872, 530);
        window.show();
        QApplication::processEvents();
        if (mode == QLatin1String("memory-bare")) printf("%.1f\n", residentMegabytes());
        return 0;
    }
    if (argc < 3) return 2;
    const AppPaths paths(QString::fromLocal8Bit(argv[2]));
    MainWindow window(paths, clock, messages);
    window.startUp();
    QApplication::processEvents();
    if (mode == QLatin1String("memory")) {
        EditorWindow editor(paths, clock, messages, &window);
        QApplication::processEvents();
        printf("%.1f %d %d\n", residentMegabytes(), window.grid().rows() - 2,
               editor.grid().rows() - 2);
    }
    return 0;
}
