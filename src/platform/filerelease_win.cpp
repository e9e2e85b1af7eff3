#include "platform/filerelease.h"

#include <windows.h>

#include <QDeadlineTimer>
#include <QDir>

bool waitForRelease(const QString& path, int timeoutMs) {
    // Replacing a file needs the right to delete it, which a program that has it open without
    // sharing deletion withholds; asking for that right alone tells whether it is free now.
    const QString native = QDir::toNativeSeparators(path);
    const auto* name = reinterpret_cast<const wchar_t*>(native.utf16());
    const QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        const HANDLE handle =
            CreateFileW(name, DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle != INVALID_HANDLE_VALUE) {
            CloseHandle(handle);
            return true;
        }
        const DWORD error = GetLastError();
        if (error != ERROR_SHARING_VIOLATION && error != ERROR_LOCK_VIOLATION) return true;
        if (deadline.hasExpired()) return false;
        Sleep(50);
    }
}
