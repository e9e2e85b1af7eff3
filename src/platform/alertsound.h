#pragma once
// The system's short alert sound, played when a reminder opens. One header, one implementation per
// platform chosen in CMake: alertsound_unix.cpp rings the display's bell (which the desktop plays
// as its alert sound), alertsound_win.cpp calls MessageBeep. Tests count the calls instead.

class AlertSound {
  public:
    virtual ~AlertSound() = default;
    virtual void play() = 0;
};

class SystemAlertSound : public AlertSound {
  public:
    void play() override;
};

class CountingAlertSound : public AlertSound {
  public:
    void play() override { ++played; }
    int played = 0;
};
