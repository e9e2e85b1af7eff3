#pragma once
// Every message box of the program goes through this interface, so that no test ever blocks on a
// modal box. The Qt implementation (QtMessageService) shows QMessageBox; RecordingMessageService
// records each call and answers questions as told. QtCore only.
//
// A notice is for what the program reports from a timer while the user may be typing elsewhere:
// it never blocks and never takes the keyboard focus, so no keystroke meant for another window
// closes it unread.

#include <QList>
#include <QString>
#include <QStringList>

enum class MessageIcon { None, Information, Warning, Critical, Question };

class MessageService {
  public:
    virtual ~MessageService() = default;
    // A modal box with one OK button. Texts are shown as plain text, never as rich text.
    virtual void show(const QString& title, const QString& text, MessageIcon icon) = 0;
    // A modal yes/no question; true for yes.
    virtual bool ask(const QString& title, const QString& text) = 0;
    // A non-modal box with one OK button, shown without activating it; returns at once. While an
    // earlier notice is still on the screen it shows the new text instead of a second box.
    virtual void notify(const QString& title, const QString& text) = 0;
};

class RecordingMessageService : public MessageService {
  public:
    struct Message {
        QString title;
        QString text;
        MessageIcon icon = MessageIcon::None;
        bool question = false;
        bool notice = false;
    };

    void show(const QString& title, const QString& text, MessageIcon icon) override {
        m_messages.append({title, text, icon, false});
    }
    bool ask(const QString& title, const QString& text) override {
        m_messages.append({title, text, MessageIcon::Question, true});
        return m_answer;
    }
    void notify(const QString& title, const QString& text) override {
        m_messages.append({title, text, MessageIcon::None, false, true});
    }

    void setAnswer(bool yes) { m_answer = yes; }
    const QList<Message>& messages() const { return m_messages; }
    QStringList texts() const {
        QStringList t;
        for (const Message& m : m_messages) t << m.text;
        return t;
    }
    void clear() { m_messages.clear(); }

  private:
    QList<Message> m_messages;
    bool m_answer = true;
};
