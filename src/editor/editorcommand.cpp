#include "editor/editorcommand.h"

#include <QAction>
#include <QPointer>
#include <QTimer>
#include <memory>

#include "editor/editorwindow.h"
#include "editor/recordexport.h"
#include "mainwindow/mainwindow.h"
#include "platform/freememory.h"
#include "records/recordgridview.h"

void installEditorCommand(MainWindow& window) {
    auto editor = std::make_shared<QPointer<EditorWindow>>();
    QObject::connect(
        window.action(QStringLiteral("crsj")), &QAction::triggered, &window, [&window, editor] {
            if (*editor) {
                (*editor)->reloadRecords();
            } else {
                auto* created =
                    new EditorWindow(window.paths(), window.clock(), window.messages(), &window);
                created->setAttribute(Qt::WA_DeleteOnClose);
                // Forgotten at once, not only when the deferred deletion runs.
                QObject::connect(created, &EditorWindow::discarded, &window,
                                 [editor] { *editor = nullptr; });
                QObject::connect(created, &EditorWindow::recordAdded, &window,
                                 &MainWindow::noteRecordAdded);
                QObject::connect(created, &EditorWindow::recordsChanged, &window,
                                 &MainWindow::noteRecordsChanged);
                new RecordExport(created->grid(), created->gridView(), window.clock(),
                                 window.messages());
                // A million records are worth giving back, once all the window's parts are gone.
                QObject::connect(created, &QObject::destroyed,
                                 [] { QTimer::singleShot(0, &returnFreeMemory); });
                *editor = created;
            }
            (*editor)->open();
            (*editor)->raise();
            (*editor)->activateWindow();
        });
}
