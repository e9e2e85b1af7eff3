#include "settings/desktopautostart.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "platform/textfile.h"

namespace {

// The user's configuration directory: $XDG_CONFIG_HOME when it names an absolute path (the base
// directory rules ignore a relative one), otherwise ~/.config.
QString configHome() {
    const QString xdg = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (!xdg.isEmpty() && QDir::isAbsolutePath(xdg)) return xdg;
    return QDir::homePath() + QStringLiteral("/.config");
}

}  // namespace

DesktopAutostart::DesktopAutostart(QString programPath) : m_programPath(std::move(programPath)) {}

QString DesktopAutostart::entryPath() const {
    return configHome() + QStringLiteral("/autostart/") + QFileInfo(m_programPath).fileName() +
           QStringLiteral(".desktop");
}

QString DesktopAutostart::execArgument(const QString& path) {
    // Inside a quoted argument ", `, $ and \ take a backslash; % starts a field code, so a
    // literal one is doubled.
    QString quoted;
    for (const QChar c : path) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\') quoted += u'\\';
        if (c == u'%') quoted += u'%';
        quoted += c;
    }
    quoted = u'"' + quoted + u'"';
    // The key's value is first unescaped as a string value: \\ stands for one backslash, and line
    // ends and tabs have escapes of their own.
    QString value;
    for (const QChar c : quoted) {
        if (c == u'\\') {
            value += QStringLiteral("\\\\");
        } else if (c == u'\n') {
            value += QStringLiteral("\\n");
        } else if (c == u'\r') {
            value += QStringLiteral("\\r");
        } else if (c == u'\t') {
            value += QStringLiteral("\\t");
        } else {
            value += c;
        }
    }
    return value;
}

QByteArray DesktopAutostart::entryContent() const {
    const QString text = QStringLiteral(
                             "[Desktop Entry]\n"
                             "Type=Application\n"
                             "Name=Mirosta\n"
                             "Exec=%1\n"
                             "X-GNOME-Autostart-enabled=true\n")
                             .arg(execArgument(m_programPath));
    return text.toUtf8();
}

bool DesktopAutostart::isEnabled() const {
    return QFileInfo(entryPath()).isFile();
}

bool DesktopAutostart::setEnabled(bool enabled, QString* error) {
    const QString path = entryPath();
    if (enabled) {
        const QString dir = QFileInfo(path).absolutePath();
        if (!QDir().mkpath(dir)) {
            if (error)
                *error = QStringLiteral("无法创建文件夹 %1。").arg(QDir::toNativeSeparators(dir));
            return false;
        }
        QString reason;
        if (writeFileAtomically(path, entryContent(), &reason)) return true;
        if (error)
            *error = QStringLiteral("无法写入 %1：%2").arg(QDir::toNativeSeparators(path), reason);
        return false;
    }
    QFile file(path);
    if (!file.exists() && !QFileInfo(path).isSymLink()) return true;
    if (file.remove()) return true;
    if (error)
        *error = QStringLiteral("无法删除 %1：%2")
                     .arg(QDir::toNativeSeparators(path), file.errorString());
    return false;
}
