#pragma once
// The program's icon in the notification area: tip "Mirosta ", a left click or double click
// restores and raises the main window, a right click shows the 菜单 menu. It is removed when the
// program ends. On a desktop without a tray there is no icon, and the main window is never hidden.

#include <QIcon>
#include <QObject>
#include <QSystemTrayIcon>

class MainWindow;

class TrayIcon : public QObject {
    Q_OBJECT
  public:
    explicit TrayIcon(MainWindow& window);

    // Whether the icon is actually shown in a tray.
    bool isShown() const;

    // What a mouse action on the icon does.
    void handleActivation(QSystemTrayIcon::ActivationReason reason);

    QSystemTrayIcon* icon() const { return m_icon; }

  private:
    MainWindow& m_window;
    QSystemTrayIcon* m_icon;
};

// The program's 64 × 64 icon, shared by the main window and the tray.
QIcon programIcon();
