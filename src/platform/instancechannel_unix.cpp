#include "platform/instancechannel.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLocalSocket>

namespace {

// A real folder (not a link to one) of this user, which no other user may enter or write to.
bool isPrivateFolder(const QString& dir) {
    struct stat info;
    return lstat(QFile::encodeName(dir).constData(), &info) == 0 && S_ISDIR(info.st_mode) &&
           info.st_uid == geteuid() && (info.st_mode & 077) == 0;
}

}  // namespace

InstanceChannel instanceChannel(const QString& key) {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (QDir::isAbsolutePath(runtime) && isPrivateFolder(runtime))
        return {runtime + u'/' + key, {}};
    const QString own = QDir::tempPath() + QStringLiteral("/mirosta-") + QString::number(geteuid());
    mkdir(QFile::encodeName(own).constData(), 0700);  // fails harmlessly when it exists
    if (isPrivateFolder(own)) return {own + u'/' + key, {}};
    return {{},
            QStringLiteral("文件夹“%1”不是当前用户独有的（属于其他用户，或其他用户也能进入）。")
                .arg(QDir::toNativeSeparators(own))};
}

bool connectToChannel(QLocalSocket& socket, const QString& serverName,
                      const QDeadlineTimer& deadline) {
    socket.connectToServer(serverName);
    return socket.waitForConnected(int(qMax<qint64>(deadline.remainingTime(), 0)));
}
