#pragma once
// One program per data folder: two programs scanning the same files would announce every reminder
// twice and overwrite each other's saves. The first program listens on a local socket named after
// its data folder; a second start finds it there, asks it to bring its window to the front, and
// ends.

#include <QObject>
#include <QString>

class QLocalServer;

class SingleInstance : public QObject {
    Q_OBJECT
  public:
    explicit SingleInstance(const QString& dataDir, QObject* parent = nullptr);

    // True when another program already serves this data folder (it has been asked to show
    // itself); false when this program is now the one that serves it.
    bool anotherIsRunning();

    const QString& serverName() const { return m_name; }

  signals:
    // A second start asked this program to show itself.
    void activationRequested();

  private:
    QString m_name;
    QLocalServer* m_server = nullptr;
};
