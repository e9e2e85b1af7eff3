#include "platform/singleinstance.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>

#include "platform/instancechannel.h"

namespace {

// The second start's hello and the running program's reply: both are fixed, so an answer is
// judged as soon as it has as many bytes as the reply.
const QByteArray kHello = QByteArrayLiteral("mirosta-hello 1\n");
const QByteArray kReply = QByteArrayLiteral("mirosta-shown 1\n");

const QString kRunsUnguarded =
    QStringLiteral("本软件照常运行和提醒，但无法防止在同一个数据文件夹中同时运行两个本软件。");

// Whether the peer answers the hello with the reply before the deadline. Reads no more than the
// reply's length, so a flood of bytes costs nothing.
bool answersAsTheProgram(QLocalSocket& peer, const QDeadlineTimer& deadline) {
    peer.write(kHello);
    peer.flush();
    QByteArray answer;
    while (answer.size() < kReply.size() && kReply.startsWith(answer)) {
        if (peer.bytesAvailable() == 0 &&
            (deadline.hasExpired() || !peer.waitForReadyRead(int(deadline.remainingTime()))))
            break;
        answer += peer.read(kReply.size() - answer.size());
    }
    return answer == kReply;
}

}  // namespace

SingleInstance::SingleInstance(const QString& dataDir, QObject* parent) : QObject(parent) {
    const QByteArray path = QDir(dataDir).canonicalPath().toUtf8();
    m_key = QStringLiteral("mirosta-") +
            QString::fromLatin1(
                QCryptographicHash::hash(path, QCryptographicHash::Sha1).toHex().left(16));
}

bool SingleInstance::anotherIsRunning() {
    const QDeadlineTimer deadline(kLimitMs);
    const InstanceChannel channel = instanceChannel(m_key);
    m_name = channel.serverName;
    if (m_name.isEmpty()) {
        m_problem = channel.problem + kRunsUnguarded;
        return false;
    }
    QLocalSocket peer;
    if (connectToChannel(peer, m_name, deadline)) {
        if (answersAsTheProgram(peer, deadline)) return true;
        peer.abort();
        m_problem = QStringLiteral("另一个不是本软件的程序占用了本软件用来防止重复运行的通道“%1”。")
                        .arg(QDir::toNativeSeparators(m_name)) +
                    kRunsUnguarded;
        return false;
    }
    serve();
    return false;
}

void SingleInstance::serve() {
    // Nobody answers: a socket file left by a program that crashed is in the way, not a program.
    QLocalServer::removeServer(m_name);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* peer = m_server->nextPendingConnection()) {
            connect(peer, &QLocalSocket::disconnected, peer, &QObject::deleteLater);
            // A peer that says nothing useful is not kept waiting for.
            QTimer::singleShot(4 * kLimitMs, peer, &QLocalSocket::abort);
            connect(peer, &QLocalSocket::readyRead, this, [this, peer] {
                if (peer->bytesAvailable() < kHello.size()) return;
                if (peer->read(kHello.size()) != kHello) {
                    peer->abort();
                    return;
                }
                peer->write(kReply);
                peer->disconnectFromServer();
                emit activationRequested();
            });
        }
    });
    if (!m_server->listen(m_name))
        m_problem = QStringLiteral("无法建立本软件用来防止重复运行的通道“%1”：%2。")
                        .arg(QDir::toNativeSeparators(m_name), m_server->errorString()) +
                    kRunsUnguarded;
}
