#include "settings/registryautostart.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

const QString RegistryAutostart::kRunKey =
    QStringLiteral("HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run");

RegistryAutostart::RegistryAutostart(const QString& programPath, QString runKey)
    : m_key(std::move(runKey)) {
    const QFileInfo program(programPath);
    m_name = program.completeBaseName();
    m_data = u'"' + QDir::toNativeSeparators(program.absolutePath()) + u'\\' + m_name +
             QStringLiteral(".exe\"");
}

bool RegistryAutostart::isEnabled() const {
    const QSettings run(m_key, QSettings::NativeFormat);
    return run.contains(m_name);
}

bool RegistryAutostart::setEnabled(bool enabled, QString* error) {
    QSettings run(m_key, QSettings::NativeFormat);
    if (enabled) {
        run.setValue(m_name, m_data);
    } else {
        run.remove(m_name);
    }
    run.sync();
    if (run.status() == QSettings::NoError && isEnabled() == enabled) return true;
    if (error) *error = QStringLiteral("无法修改注册表项 %1\\%2。").arg(m_key, m_name);
    return false;
}
