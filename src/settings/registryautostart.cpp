#include "settings/registryautostart.h"

#ifdef Q_OS_WIN

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace {

const QString kRunKey =
    QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run");

}  // namespace

RegistryAutostart::RegistryAutostart(const QString& programPath) {
    const QFileInfo program(programPath);
    m_name = program.completeBaseName();
    m_data =
        QDir::toNativeSeparators(program.absolutePath()) + u'\\' + m_name + QStringLiteral(".exe");
}

bool RegistryAutostart::isEnabled() const {
    const QSettings run(kRunKey, QSettings::NativeFormat);
    return run.contains(m_name);
}

bool RegistryAutostart::setEnabled(bool enabled, QString* error) {
    QSettings run(kRunKey, QSettings::NativeFormat);
    if (enabled) {
        run.setValue(m_name, m_data);
    } else {
        run.remove(m_name);
    }
    run.sync();
    if (run.status() == QSettings::NoError && isEnabled() == enabled) return true;
    if (error)
        *error = QStringLiteral("无法修改注册表项 %1\\%2，可能需要以管理员身份运行本软件。")
                     .arg(kRunKey, m_name);
    return false;
}

#endif
