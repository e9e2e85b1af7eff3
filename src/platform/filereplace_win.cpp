#include <windows.h>

#include <QDeadlineTimer>
#include <QDir>

#include "platform/filereplace.h"

bool renameReplacesOpenFiles() {
    return false;
}

bool moveIntoPlace(const QString& from, const QString& to, int timeoutMs, QString* reason) {
    const QString source = QDir::toNativeSeparators(from);
    const QString target = QDir::toNativeSeparators(to);
    const QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        if (MoveFileExW(reinterpret_cast<const wchar_t*>(source.utf16()),
                        reinterpret_cast<const wchar_t*>(target.utf16()),
                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return true;
        const DWORD error = GetLastError();
        // What a program holding the old file open (or mapped, or just deleting it) answers.
        const bool held = error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION ||
                          error == ERROR_LOCK_VIOLATION || error == ERROR_USER_MAPPED_FILE;
        if (!held || deadline.hasExpired()) {
            if (reason)
                *reason = held ? QStringLiteral("另一个程序正在使用这个文件，请关闭它后再试")
                               : qt_error_string(int(error));
            return false;
        }
        Sleep(50);
    }
}
