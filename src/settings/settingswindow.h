#pragma once
// The settings window (objectName Form4): the scan interval Text1, which is the program's store of
// that setting for the run, the start-at-login box Check1, the alert sound box Check2 and the
// advance notice "提前 N 分钟提示" (Text2). The controls start with what was last applied
// (ProgramSettings). 设置 (Command1, or Enter in Text1) applies the interval to the main window's
// scan timer, keeps the settings for the next runs and hides the window, which keeps its text;
// the window's close control and Esc discard it (SettingsCommands then makes a new one on next
// use).

#include <QWidget>

class Autostart;
class MainWindow;
class QCheckBox;
class QLineEdit;
class QSpinBox;

class SettingsWindow : public QWidget {
    Q_OBJECT
  public:
    // A hidden window owned by the main window.
    SettingsWindow(MainWindow& owner, Autostart& autostart);

    // The interval text, as typed.
    QString intervalText() const;

    // Shows the window modally, its box showing whether the program starts at login.
    void open();

    // 设置: a valid interval is announced, applied and the window hidden; an invalid one is
    // refused with a message and nothing changes.
    void apply();

  signals:
    // The close control was used: the window is about to be deleted.
    void discarded();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void autostartClicked(bool checked);
    void showAutostartState();

    MainWindow& m_owner;
    Autostart& m_autostart;
    QLineEdit* m_interval = nullptr;
    QCheckBox* m_autostartBox = nullptr;
    QCheckBox* m_soundBox = nullptr;
    QSpinBox* m_advance = nullptr;
    bool m_placed = false;
};
