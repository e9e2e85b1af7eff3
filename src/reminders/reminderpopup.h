#pragma once
// The reminder pop-up (objectName Form5, caption 数据提示): a small topmost window in the bottom
// right corner of the screen's available area that lists one due record as the slot holds it.
// Its slot decides its place (see popupplacement.h): the group its column from the right, the
// position its height. A reminder given after its minute says so on a red first line. It is shown
// without taking the keyboard focus, is not in the taskbar, fades in through opacity levels 2, 4
// ... 254 (Timer1, every 3 ms, stopped after 129 ticks) and stays until the user closes it; closing
// it marks its slot free again.

#include <QWidget>

#include "reminders/reminderslot.h"
#include "reminders/slottable.h"

class MessageService;
class QListWidget;
class QTimer;
class ScreenMetrics;

class ReminderPopup : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kClientWidth = 324;  // 4860 x 2595 twips
    static constexpr int kClientHeight = 173;
    static constexpr int kListWidth = 321;  // 4815 x 2580 twips
    static constexpr int kListHeight = 172;
    static constexpr int kFadeIntervalMs = 3;

    ReminderPopup(const ReminderSlot& slot, const QStringList& lines, const QString& lateNote,
                  QString profilePath, const ScreenMetrics& screen, MessageService& messages,
                  QWidget* parent = nullptr);
    ~ReminderPopup() override;

    const QString& slotName() const { return m_slot.name; }
    int alphaLevel() const { return m_alphaLevel; }
    QTimer* fadeTimer() const { return m_fadeTimer; }
    QListWidget* list() const { return m_list; }

    // Sets the whole window's opacity, 0 transparent to 255 opaque; other levels are ignored.
    void SetFormToAlpha(int level);
    // Puts the window at its slot's place for its current outer size.
    void placeWindow();

    // Whether the slot has been marked free (by closing, or by the program ending).
    bool released() const { return m_released; }
    // The slot was marked free elsewhere (all open pop-ups at once, when the program ends).
    void setReleased() { m_released = true; }

  public slots:
    // One fade step.
    void Timer1_Timer();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    ReminderSlot m_slot;
    SlotTable m_slots;
    const ScreenMetrics& m_screen;
    MessageService& m_messages;
    QListWidget* m_list = nullptr;
    QTimer* m_fadeTimer = nullptr;
    int m_alphaLevel = 0;
    bool m_released = false;
    QSize m_placedFrame;
};
