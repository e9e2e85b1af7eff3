#include "settings/settingscommands.h"

#include <QAction>

#include "mainwindow/mainwindow.h"
#include "settings/helpcommands.h"
#include "settings/programsettings.h"
#include "settings/scaninterval.h"
#include "settings/settingswindow.h"
#include "settings/windowmemory.h"

SettingsCommands::SettingsCommands(MainWindow& window, Autostart& autostart)
    : QObject(&window), m_window(window), m_autostart(autostart) {
    connect(window.action(QStringLiteral("sz")), &QAction::triggered, this,
            &SettingsCommands::openSettings);
    window.setScanIntervalProvider([this] {
        // A text the window refuses (typed but not applied, say at midnight while the window is
        // open) never sets the scan: the interval last kept does.
        const QString text = settingsWindow()->intervalText();
        if (readScanInterval(text)) return text;
        return QString::number(ProgramSettings(m_window.paths().settingsPath()).scanInterval());
    });
}

SettingsWindow* SettingsCommands::settingsWindow() {
    if (!m_settings) {
        m_settings = new SettingsWindow(m_window, m_autostart);
        // A discarded window is deleted later; from now on it no longer counts.
        connect(m_settings, &SettingsWindow::discarded, this, [this] { m_settings = nullptr; });
    }
    return m_settings;
}

SettingsWindow* SettingsCommands::existingWindow() const {
    return m_settings;
}

void SettingsCommands::openSettings() {
    settingsWindow()->open();
}

void installSettings(MainWindow& window, Autostart& autostart, UrlOpener& opener) {
    new SettingsCommands(window, autostart);
    installWindowMemory(window);
    new HelpCommands(window, opener, QStringLiteral(MIROSTA_SUPPORT_CONTACT),
                     QStringLiteral(MIROSTA_UPGRADE_URL));
}
