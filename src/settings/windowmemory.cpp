#include "settings/windowmemory.h"

#include "mainwindow/mainwindow.h"
#include "records/recordgridview.h"
#include "settings/programsettings.h"

#include <QScreen>

namespace {

constexpr QSize kSmallest(200, 100);

}  // namespace

void installWindowMemory(MainWindow& window) {
    const ProgramSettings settings(window.paths().settingsPath());
    const QByteArray geometry = settings.mainWindowGeometry();
    const QRect designed = window.geometry();
    // A damaged record can restore nonsense (a cut one gives a window of one pixel): the
    // window must come back usable and on the screen, else it keeps its designed place.
    if (!geometry.isEmpty() && window.restoreGeometry(geometry)) {
        const QScreen* screen = window.screen();
        const bool usable =
            window.width() >= kSmallest.width() && window.height() >= kSmallest.height() &&
            (!screen || screen->availableVirtualGeometry().intersects(window.geometry()));
        if (!usable) {
            window.setWindowState(Qt::WindowNoState);
            window.setGeometry(designed);
        }
    }

    QObject::connect(
        &window, &MainWindow::todayListLoaded, &window,
        [&window] {
            RecordGrid& grid = window.grid();
            const ProgramSettings kept(window.paths().settingsPath());
            const QList<int> widths = kept.columnWidths(grid.cols());
            // A width other than the designed one is the user's: the view keeps it instead of
            // fitting the column to its contents.
            for (int c = 1; c < grid.cols(); ++c) {
                if (widths.at(c) == RecordGrid::kDefaultWidth || widths.at(c) == grid.colWidth(c))
                    continue;
                window.gridView()->keepColumnWidth(c);
                grid.setColWidth(c, widths.at(c));
            }
        },
        Qt::SingleShotConnection);

    window.addExitStep([&window] {
        ProgramSettings kept(window.paths().settingsPath());
        kept.setMainWindowGeometry(window.saveGeometry());
        QList<int> widths;
        for (int c = 0; c < window.grid().cols(); ++c) widths << window.grid().colWidth(c);
        kept.setColumnWidths(widths);
    });
}
