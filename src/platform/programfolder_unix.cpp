#include <QFileInfo>

#include "platform/programfolder.h"

bool canHoldData(const QString& exeDir) {
    const QFileInfo info(exeDir);
    if (!info.isDir() || !info.isWritable()) return false;
    const QString dir = info.canonicalFilePath();
    for (const QString& system :
         {QStringLiteral("/usr"), QStringLiteral("/opt"), QStringLiteral("/bin"),
          QStringLiteral("/sbin"), QStringLiteral("/snap")})
        if (dir == system || dir.startsWith(system + u'/')) return false;
    return true;
}
