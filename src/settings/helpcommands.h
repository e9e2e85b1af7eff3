#pragma once
// The 帮助 menu: 关于 (gy) shows the version and change list, 提供建议/升级 (sj) opens the upgrade
// page in the browser. Without an upgrade address sj is disabled.

#include <QObject>
#include <QUrl>

class MainWindow;
class UrlOpener;

class HelpCommands : public QObject {
    Q_OBJECT
  public:
    // supportContact ends the about text; upgradeUrl is the page sj opens.
    HelpCommands(MainWindow& window, UrlOpener& opener, QString supportContact,
                 const QString& upgradeUrl);

    // The about text: its lines joined by CR LF, no line end after the last. Without a support
    // contact the last line and the empty line before it are left out.
    static QString aboutText(const QString& supportContact);

    // gy.
    void showAbout();
    // sj.
    void openUpgradePage();

  private:
    MainWindow& m_window;
    UrlOpener& m_opener;
    QString m_supportContact;
    QUrl m_upgradeUrl;
};
