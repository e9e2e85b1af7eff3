#include "reminders/reminderpopup.h"

#include "platform/programfont.h"

#include <QCloseEvent>
#include <QListWidget>
#include <QTimer>

#include "platform/messageservice.h"
#include "platform/screenmetrics.h"
#include "reminders/popupplacement.h"

namespace {

const QString kCaption = QStringLiteral("数据提示");
const QString kReleaseFailedText = QStringLiteral("无法写入提示文件，此提示的位置未能释放。\n%1");

}  // namespace

ReminderPopup::ReminderPopup(const ReminderSlot& slot, const QStringList& lines,
                             const QString& lateNote, QString profilePath,
                             const ScreenMetrics& screen, MessageService& messages, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::WindowDoesNotAcceptFocus),
      m_slot(slot),
      m_slots(std::move(profilePath)),
      m_screen(screen),
      m_messages(messages) {
    setObjectName(QStringLiteral("Form5"));
    setWindowTitle(kCaption);
    setAccessibleName(kCaption);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(kClientWidth, kClientHeight);

    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("List1"));
    m_list->setAccessibleName(kCaption);
    m_list->setGeometry(0, 0, kListWidth, kListHeight);
    m_list->setFont(songtiFont(10));
    m_list->setFocusPolicy(Qt::NoFocus);
    // A line longer than the window is wide wraps onto the next; the window keeps its size.
    m_list->setWordWrap(true);
    m_list->setResizeMode(QListView::Adjust);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    if (!lateNote.isEmpty()) {
        auto* late = new QListWidgetItem(lateNote, m_list);
        late->setForeground(Qt::red);
        QFont bold = m_list->font();
        bold.setBold(true);
        late->setFont(bold);
    }
    // List items show their text as it is: a value like "<b>x</b>" is those characters.
    m_list->addItems(lines);

    m_fadeTimer = new QTimer(this);
    m_fadeTimer->setObjectName(QStringLiteral("Timer1"));
    connect(m_fadeTimer, &QTimer::timeout, this, &ReminderPopup::Timer1_Timer);
    m_fadeTimer->start(kFadeIntervalMs);

    placeWindow();
}

ReminderPopup::~ReminderPopup() = default;

void ReminderPopup::SetFormToAlpha(int level) {
    if (level < 0 || level > 255) return;
    setWindowOpacity(level / 255.0);
}

void ReminderPopup::Timer1_Timer() {
    if (m_alphaLevel >= 255) {
        m_fadeTimer->stop();
        return;
    }
    m_alphaLevel += 2;
    SetFormToAlpha(m_alphaLevel);
}

void ReminderPopup::placeWindow() {
    m_placedFrame = frameGeometry().size();
    move(popupTopLeft(m_screen, m_placedFrame, m_slot.group, m_slot.position));
}

void ReminderPopup::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (frameGeometry().size() != m_placedFrame) placeWindow();
}

void ReminderPopup::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    // The window manager adds its frame after the window is shown: place it again for the size
    // that now counts.
    if (isVisible() && frameGeometry().size() != m_placedFrame) placeWindow();
}

void ReminderPopup::closeEvent(QCloseEvent* event) {
    event->accept();
    if (m_released) return;
    m_released = true;
    QString error;
    if (!m_slots.release({m_slot.name}, &error))
        m_messages.show(QStringLiteral("错误提示"), kReleaseFailedText.arg(error),
                        MessageIcon::Warning);
}
