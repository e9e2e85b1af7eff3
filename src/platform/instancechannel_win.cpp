#include "platform/instancechannel.h"

#include <windows.h>
// After windows.h:
#include <lmcons.h>
#include <sddl.h>

#include <QDeadlineTimer>
#include <QLocalSocket>

namespace {

// The user's SID as text ("S-1-5-21-..."), or the user name where the SID cannot be read.
QString userId() {
    QString id;
    HANDLE token = nullptr;
    if (OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) {
        DWORD size = 0;
        GetTokenInformation(token, TokenUser, nullptr, 0, &size);
        QByteArray buffer(qMax<DWORD>(size, 1), Qt::Uninitialized);
        wchar_t* text = nullptr;
        if (GetTokenInformation(token, TokenUser, buffer.data(), size, &size) &&
            ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, &text)) {
            id = QString::fromWCharArray(text);
            LocalFree(text);
        }
        CloseHandle(token);
    }
    if (id.isEmpty()) {
        wchar_t name[UNLEN + 1];
        DWORD length = UNLEN + 1;
        if (GetUserNameW(name, &length)) id = QString::fromWCharArray(name);
    }
    return id;
}

}  // namespace

InstanceChannel instanceChannel(const QString& key) {
    DWORD session = 0;
    ProcessIdToSessionId(GetCurrentProcessId(), &session);
    return {key + u'-' + userId() + u'-' + QString::number(session), {}};
}

bool connectToChannel(QLocalSocket& socket, const QString& serverName,
                      const QDeadlineTimer& deadline) {
    // As QLocalSocket::connectToServer() does, but with the deadline where it waits up to five
    // seconds for a busy pipe, and allowing the server to identify this program but not to act
    // in the user's name.
    const QString pipe = QStringLiteral("\\\\.\\pipe\\") + serverName;
    const auto* name = reinterpret_cast<const wchar_t*>(pipe.utf16());
    for (;;) {
        const HANDLE handle = CreateFileW(
            name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
            FILE_FLAG_OVERLAPPED | SECURITY_SQOS_PRESENT | SECURITY_IDENTIFICATION, nullptr);
        if (handle != INVALID_HANDLE_VALUE)
            return socket.setSocketDescriptor(reinterpret_cast<qintptr>(handle));
        if (GetLastError() != ERROR_PIPE_BUSY || deadline.hasExpired()) return false;
        WaitNamedPipeW(name, DWORD(qMax<qint64>(deadline.remainingTime(), 1)));
    }
}
