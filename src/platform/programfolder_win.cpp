#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

#include "platform/programfolder.h"

namespace {

bool isInside(const QString& dir, const QString& folder) {
    if (folder.isEmpty()) return false;
    const QString outer = QDir::cleanPath(QDir::fromNativeSeparators(folder));
    return dir.compare(outer, Qt::CaseInsensitive) == 0 ||
           dir.startsWith(outer + u'/', Qt::CaseInsensitive);
}

}  // namespace

bool canHoldData(const QString& exeDir) {
    const QFileInfo info(exeDir);
    if (!info.isDir()) return false;
    const QString dir = info.canonicalFilePath();
    for (const char* system : {"ProgramFiles", "ProgramFiles(x86)", "ProgramW6432", "SystemRoot"})
        if (isInside(dir, qEnvironmentVariable(system))) return false;
    // Windows' own answer to "may I write here" lies in the folder's access list, which
    // QFileInfo does not read by default; creating a file asks it.
    QTemporaryFile probe(dir + QStringLiteral("/mirosta-XXXXXX.tmp"));
    return probe.open();
}
