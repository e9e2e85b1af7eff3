#pragma once
// One program per data folder: two programs scanning the same files would announce every reminder
// twice and overwrite each other's saves. The first program listens on a local socket named after
// its data folder, in a place only this user can reach (InstanceChannel); a second start finds it
// there, asks it to bring its window to the front, and ends.
//
// The second start takes the listener for a running copy only when it answers the program's hello
// with the program's own reply within kLimitMs. Anything else that listens on the name (a program
// that never answers, answers wrongly or floods the socket) is reported through problem(), and the
// program then runs without the guard rather than ending unseen.

#include <QObject>
#include <QString>

class QLocalServer;

class SingleInstance : public QObject {
    Q_OBJECT
  public:
    // The longest the guard holds up the start, whatever the peer does.
    static constexpr int kLimitMs = 400;

    explicit SingleInstance(const QString& dataDir, QObject* parent = nullptr);

    // True when another copy of the program already serves this data folder (it has been asked
    // to show itself); false when this program goes on: then it serves the folder, or, when
    // problem() says why, it runs without the guard.
    bool anotherIsRunning();

    // Empty while the guard works; otherwise, in Chinese, why this program runs without it.
    const QString& problem() const { return m_problem; }

    // The data folder's key, "mirosta-" and 16 hex digits of the SHA-1 of its canonical path.
    const QString& key() const { return m_key; }

  signals:
    // A second start asked this program to show itself.
    void activationRequested();

  private:
    void serve();

    QString m_key;
    QString m_name;
    QString m_problem;
    QLocalServer* m_server = nullptr;
};
