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
#include <functional>

enum class MessageIcon { None, Information, Warning, Critical, Question };

// The answer to a question with the buttons 是, 否 and 取消.
enum class Answer { Yes, No, Cancel };

class MessageService {
  public:
    virtual ~MessageService() = default;
    // A modal box with one OK button. Texts are shown as plain text, never as rich text.
    virtual void show(const QString& title, const QString& text, MessageIcon icon) = 0;
    // A modal yes/no question; true for yes. 否 is the default button: Enter and Esc answer no.
    virtual bool ask(const QString& title, const QString& text) = 0;
    // A non-modal box with one OK button, shown without activating it; returns at once. While an
    // earlier notice is still on the screen it shows the new text instead of a second box.
    virtual void notify(const QString& title, const QString& text) = 0;
    // A modal question with 是, 否 and 取消. 是 is the default button; Esc and the close box answer
    // 取消.
    virtual Answer choose(const QString& title, const QString& text) = 0;
};

class RecordingMessageService : public MessageService {
  public:
    struct Message {
        QString title;
        QString text;
        MessageIcon icon = MessageIcon::None;
        bool question = false;    // ask() or choose()
        bool withCancel = false;  // choose()
        bool notice = false;      // notify()
    };

    void show(const QString& title, const QString& text, MessageIcon icon) override {
        m_messages.append({title, text, icon, false});
    }
    bool ask(const QString& title, const QString& text) override {
        m_messages.append({title, text, MessageIcon::Question, true});
        return nextAnswer() == Answer::Yes;
    }
    Answer choose(const QString& title, const QString& text) override {
        m_messages.append({title, text, MessageIcon::Question, true, true});
        return nextAnswer();
    }
    // Runs while each question is open, as timers and other programs do behind a modal box.
    void setWhileAsking(std::function<void()> work) { m_whileAsking = std::move(work); }
    void notify(const QString& title, const QString& text) override {
        m_messages.append({title, text, MessageIcon::None, false, false, true});
    }

    // The answer to every question (yes unless told otherwise)...
    void setAnswer(bool yes) { m_answer = yes ? Answer::Yes : Answer::No; }
    // ...after these, one per question in turn. ask() takes 取消 as no.
    void setAnswers(const QList<Answer>& answers) { m_answers = answers; }
    const QList<Message>& messages() const { return m_messages; }
    QStringList texts() const {
        QStringList t;
        for (const Message& m : m_messages) t << m.text;
        return t;
    }
    void clear() { m_messages.clear(); }

  private:
    Answer nextAnswer() {
        if (m_whileAsking) m_whileAsking();
        return m_answers.isEmpty() ? m_answer : m_answers.takeFirst();
    }

    QList<Message> m_messages;
    std::function<void()> m_whileAsking;
    Answer m_answer = Answer::Yes;
    QList<Answer> m_answers;
};
