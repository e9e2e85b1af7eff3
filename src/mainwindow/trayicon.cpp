#include "mainwindow/trayicon.h"

#include <QMenu>

#include "mainwindow/mainwindow.h"

QIcon programIcon() {
    Q_INIT_RESOURCE(mirosta);
    return QIcon(QStringLiteral(":/mirosta/mirosta.png"));
}

TrayIcon::TrayIcon(MainWindow& window)
    : QObject(&window), m_window(window), m_icon(new QSystemTrayIcon(programIcon(), this)) {
    m_icon->setToolTip(QStringLiteral("Mirosta "));
    m_icon->setContextMenu(window.mainMenu());
    connect(m_icon, &QSystemTrayIcon::activated, this, &TrayIcon::handleActivation);
    window.setTrayIconShown([this] { return isShown(); });
    window.addExitStep([this] { m_icon->hide(); });
    if (QSystemTrayIcon::isSystemTrayAvailable()) m_icon->show();
}

bool TrayIcon::isShown() const {
    return m_icon->isVisible() && QSystemTrayIcon::isSystemTrayAvailable();
}

void TrayIcon::handleActivation(QSystemTrayIcon::ActivationReason reason) {
    switch (reason) {
        case QSystemTrayIcon::Trigger:
        case QSystemTrayIcon::DoubleClick:
            m_window.bringToFront();
            break;
        case QSystemTrayIcon::Context:  // the context menu shows itself
        case QSystemTrayIcon::MiddleClick:
        case QSystemTrayIcon::Unknown:
            break;
    }
}
