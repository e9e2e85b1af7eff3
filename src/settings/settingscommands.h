#pragma once
// 软件设置 → 设置 (sz) and the scan interval setting. The settings window is created on first
// use, hidden when the main window only reads the interval, and created anew after its close
// control has discarded it.

#include <QObject>
#include <QPointer>

class Autostart;
class MainWindow;
class SettingsWindow;
class UrlOpener;

class SettingsCommands : public QObject {
    Q_OBJECT
  public:
    // Connects sz and makes the settings window's Text1 the main window's scan interval setting.
    SettingsCommands(MainWindow& window, Autostart& autostart);

    // The settings window, created hidden when there is none.
    SettingsWindow* settingsWindow();
    // The settings window if there is one.
    SettingsWindow* existingWindow() const;

    // sz: shows the settings window modally.
    void openSettings();

  private:
    MainWindow& m_window;
    Autostart& m_autostart;
    QPointer<SettingsWindow> m_settings;
};

// Wires sz, gy, sj, the scan interval setting and the window's remembered place, size and column
// widths into the main window (before its start-up). The autostart and the URL opener must
// outlive the window.
void installSettings(MainWindow& window, Autostart& autostart, UrlOpener& opener);
