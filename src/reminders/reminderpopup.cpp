#include "reminders/reminderpopup.h"

#include "platform/programfont.h"

#include <QCloseEvent>
#include <QLabel>
#include <QListWidget>
#include <QTimer>
#include <QWindow>

#include "platform/messageservice.h"
#include "platform/screenmetrics.h"
#include "reminders/popupplacement.h"

namespace {

const QString kCaption = QStringLiteral("数据提示");
const QString kReleaseFailedText = QStringLiteral("无法写入提示文件，此提示的位置未能释放。\n%1");

}  // namespace

ReminderPopup::ReminderPopup(const ReminderSlot& slot, const PopupContent& content,
                             QString profilePath, const ScreenMetrics& screen,
                             MessageService& messages, QWidget* parent)
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

    // Texts from the file are shown as they are: a value like "<b>x</b>" is those characters.
    m_headline = new QLabel(content.headline, this);
    m_headline->setObjectName(QStringLiteral("Label1"));
    m_headline->setTextFormat(Qt::PlainText);
    QFont large = songtiFont(12);
    large.setBold(true);
    m_headline->setFont(large);
    if (content.lateHeadline) m_headline->setStyleSheet(QStringLiteral("color: red"));
    m_headline->setGeometry(4, 0, kListWidth - 4, kHeadlineHeight);

    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("List1"));
    m_list->setAccessibleName(kCaption);
    m_list->setGeometry(0, kHeadlineHeight, kListWidth, kClientHeight - kHeadlineHeight - 1);
    m_list->setFont(songtiFont(10));
    m_list->setFocusPolicy(Qt::NoFocus);
    // A line longer than the window is wide wraps onto the next; the window keeps its size.
    m_list->setWordWrap(true);
    m_list->setResizeMode(QListView::Adjust);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->viewport()->installEventFilter(this);
    if (!content.lateNote.isEmpty()) {
        auto* late = new QListWidgetItem(content.lateNote, m_list);
        late->setForeground(Qt::red);
        QFont bold = m_list->font();
        bold.setBold(true);
        late->setFont(bold);
        m_firstLine = 1;
    }
    m_list->addItems(content.lines);

    m_fadeTimer = new QTimer(this);
    m_fadeTimer->setObjectName(QStringLiteral("Timer1"));
    connect(m_fadeTimer, &QTimer::timeout, this, &ReminderPopup::Timer1_Timer);
    m_fadeTimer->start(kFadeIntervalMs);

    placeWindow();
}

ReminderPopup::~ReminderPopup() = default;

void ReminderPopup::setLine(int index, const QString& text) {
    if (QListWidgetItem* item = m_list->item(m_firstLine + index)) item->setText(text);
}

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

void ReminderPopup::clicked() {
    if (m_clicked) return;
    m_clicked = true;
    if (QWindow* window = windowHandle()) window->setFlag(Qt::WindowDoesNotAcceptFocus, false);
    activateWindow();
}

bool ReminderPopup::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress) clicked();
    return QWidget::eventFilter(watched, event);
}

void ReminderPopup::mousePressEvent(QMouseEvent* event) {
    clicked();
    QWidget::mousePressEvent(event);
}

void ReminderPopup::keyPressEvent(QKeyEvent* event) {
    // Only a pop-up the user has turned to: a key typed elsewhere never closes one unread.
    if (m_clicked && event->key() == Qt::Key_Escape)
        close();
    else
        QWidget::keyPressEvent(event);
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
