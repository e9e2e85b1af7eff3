#pragma once
// Where the single-instance guard listens: a local socket name that only this user can take, so
// that no other account can pose as a running copy of the program and silence its reminders.
// - Linux and other Unix systems: a socket in the user's runtime folder ($XDG_RUNTIME_DIR), or,
// where
//   there is none or it is not the user's alone, in <temporary folder>/mirosta-<user id>, a folder
//   the program creates with mode 0700 and uses only while it is a real folder of this user that
//   nobody else may enter.
// - Windows: a named pipe whose name holds the user's SID and the session number. Pipe names are
//   one namespace for the whole machine, so the pipe's access list (QLocalServer's
//   UserAccessOption) keeps other users out, and the name keeps two sessions of one user apart.

#include <QString>

class QDeadlineTimer;
class QLocalSocket;

struct InstanceChannel {
    QString serverName;  // for QLocalServer::listen() and QLocalSocket::connectToServer()
    QString problem;     // when serverName is empty: why there is no safe place, in Chinese
};

// The channel for `key` (a plain name without folder, as "mirosta-0123456789abcdef").
InstanceChannel instanceChannel(const QString& key);

// Connects the socket to the channel's server; false when there is none or the deadline passes
// first, whatever the other side does.
bool connectToChannel(QLocalSocket& socket, const QString& serverName,
                      const QDeadlineTimer& deadline);
