#pragma once
// Message boxes with QMessageBox: one OK button, or 是/否 (and 取消) for questions, plain text
// only. A notice is a QMessageBox too, but non-modal, on top of other windows and never focused.

#include <QPointer>
#include <QWidget>

class QMessageBox;

#include "platform/messageservice.h"

class QtMessageService : public MessageService {
  public:
    explicit QtMessageService(QWidget* parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget* parent) { m_parent = parent; }

    void show(const QString& title, const QString& text, MessageIcon icon) override;
    bool ask(const QString& title, const QString& text) override;
    void notify(const QString& title, const QString& text) override;
    Answer choose(const QString& title, const QString& text) override;

  private:
    QPointer<QWidget> m_parent;
    QPointer<QMessageBox> m_notice;
};
