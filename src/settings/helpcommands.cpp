#include "settings/helpcommands.h"

#include <QAction>

#include "mainwindow/mainwindow.h"
#include "platform/messageservice.h"
#include "settings/settingstexts.h"
#include "settings/urlopener.h"

using namespace settingstexts;

HelpCommands::HelpCommands(MainWindow& window, UrlOpener& opener, QString supportContact,
                           const QString& upgradeUrl)
    : QObject(&window),
      m_window(window),
      m_opener(opener),
      m_supportContact(std::move(supportContact)),
      m_upgradeUrl(upgradeUrl.trimmed(), QUrl::StrictMode) {
    connect(window.action(QStringLiteral("gy")), &QAction::triggered, this,
            &HelpCommands::showAbout);
    QAction* upgrade = window.action(QStringLiteral("sj"));
    upgrade->setEnabled(m_upgradeUrl.isValid() && !m_upgradeUrl.isEmpty());
    connect(upgrade, &QAction::triggered, this, &HelpCommands::openUpgradePage);
}

QString HelpCommands::aboutText(const QString& supportContact) {
    QStringList lines = kAboutLines;
    if (!supportContact.isEmpty()) lines << QString() << kSupportPrefix + supportContact;
    return lines.join(QStringLiteral("\r\n"));
}

void HelpCommands::showAbout() {
    m_window.messages().show(kAboutTitle, aboutText(m_supportContact), MessageIcon::Information);
}

void HelpCommands::openUpgradePage() {
    if (!m_upgradeUrl.isValid() || m_upgradeUrl.isEmpty()) return;
    if (!m_opener.open(m_upgradeUrl))
        m_window.messages().show(kTitleNote, kUpgradeNotOpened.arg(m_upgradeUrl.toString()),
                                 MessageIcon::Warning);
}
