#include "platform/qtmessageservice.h"

#include <QAbstractButton>
#include <QMessageBox>

namespace {

QMessageBox::Icon toQt(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Information:
            return QMessageBox::Information;
        case MessageIcon::Warning:
            return QMessageBox::Warning;
        case MessageIcon::Critical:
            return QMessageBox::Critical;
        case MessageIcon::Question:
            return QMessageBox::Question;
        case MessageIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

void QtMessageService::show(const QString& title, const QString& text, MessageIcon icon) {
    QMessageBox box(toQt(icon), title, text, QMessageBox::Ok, m_parent);
    box.setTextFormat(Qt::PlainText);
    box.button(QMessageBox::Ok)->setText(QStringLiteral("确定"));
    box.exec();
}

bool QtMessageService::ask(const QString& title, const QString& text) {
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No,
                    m_parent);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::No);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("是"));
    box.button(QMessageBox::No)->setText(QStringLiteral("否"));
    return box.exec() == QMessageBox::Yes;
}

void QtMessageService::notify(const QString& title, const QString& text) {
    if (!m_notice) {
        // No parent: the notice stands on its own even while the main window is hidden in the tray.
        m_notice =
            new QMessageBox(QMessageBox::Warning, title, text, QMessageBox::Ok, nullptr,
                            Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus);
        m_notice->setTextFormat(Qt::PlainText);
        m_notice->button(QMessageBox::Ok)->setText(QStringLiteral("确定"));
        m_notice->setModal(false);
        m_notice->setAttribute(Qt::WA_DeleteOnClose);
        m_notice->setAttribute(Qt::WA_ShowWithoutActivating);
    }
    m_notice->setWindowTitle(title);
    m_notice->setText(text);
    m_notice->show();
}

Answer QtMessageService::choose(const QString& title, const QString& text) {
    QMessageBox box(QMessageBox::Question, title, text,
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, m_parent);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::Cancel);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("是"));
    box.button(QMessageBox::No)->setText(QStringLiteral("否"));
    box.button(QMessageBox::Cancel)->setText(QStringLiteral("取消"));
    switch (box.exec()) {
        case QMessageBox::Yes:
            return Answer::Yes;
        case QMessageBox::No:
            return Answer::No;
        default:
            return Answer::Cancel;
    }
}
