#pragma once
// The reminder pop-up (objectName Form5, caption 数据提示): a small topmost window in the bottom
// right corner of the screen's available area that lists one due record as the slot holds it,
// under a headline in a larger font (工程部位, 强度等级 and 组数). A list of rows announced late in
// one tick uses the same window, one line per row, under the red headline "补发：以下 N 批已到期".
// Its slot decides its place (see popupplacement.h): the group its column from the right, the
// position its height. A reminder given after its minute says so on a red first line. It is shown
// without taking the keyboard focus, is not in the taskbar, fades in through opacity levels 2, 4
// ... 254 (Timer1, every 3 ms, stopped after 129 ticks) and stays until the user closes it (its
// close box, or Esc once it has been clicked); closing it marks its slot free again.

#include <QWidget>

#include "reminders/reminderslot.h"
#include "reminders/slottable.h"

class MessageService;
class QLabel;
class QListWidget;
class QTimer;
class ScreenMetrics;

struct PopupContent {
    QString headline;
    bool lateHeadline = false;  // red: the headline says the rows come late
    QString lateNote;           // a red first line above the lines
    QStringList lines;
};

class ReminderPopup : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kClientWidth = 324;  // 4860 x 2595 twips
    static constexpr int kClientHeight = 173;
    static constexpr int kListWidth = 321;  // 4815 twips
    static constexpr int kHeadlineHeight = 26;
    static constexpr int kFadeIntervalMs = 3;

    ReminderPopup(const ReminderSlot& slot, const PopupContent& content, QString profilePath,
                  const ScreenMetrics& screen, MessageService& messages, QWidget* parent = nullptr);
    ~ReminderPopup() override;

    const QString& slotName() const { return m_slot.name; }
    int alphaLevel() const { return m_alphaLevel; }
    QTimer* fadeTimer() const { return m_fadeTimer; }
    QLabel* headline() const { return m_headline; }
    QListWidget* list() const { return m_list; }

    // Replaces line `index` of the content's lines.
    void setLine(int index, const QString& text);

    // Sets the whole window's opacity, 0 transparent to 255 opaque; other levels are ignored.
    void SetFormToAlpha(int level);
    // Puts the window at its slot's place for its current outer size.
    void placeWindow();

    // Whether the slot has been marked free (by closing, or by the program ending).
    bool released() const { return m_released; }
    // The slot was marked free elsewhere (all open pop-ups at once).
    void setReleased() { m_released = true; }

  public slots:
    // One fade step.
    void Timer1_Timer();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    // The user clicked the window: from now on it takes the keyboard, so Esc closes it.
    void clicked();

    ReminderSlot m_slot;
    SlotTable m_slots;
    const ScreenMetrics& m_screen;
    MessageService& m_messages;
    QLabel* m_headline = nullptr;
    QListWidget* m_list = nullptr;
    int m_firstLine = 0;  // the list's row of the content's first line
    QTimer* m_fadeTimer = nullptr;
    int m_alphaLevel = 0;
    bool m_released = false;
    bool m_clicked = false;
    QSize m_placedFrame;
};
