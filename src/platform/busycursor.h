#pragma once
// The busy cursor over the program's windows for as long as it lives, for work on the user
// interface thread that may take a noticeable moment (writing or reading a long data file).

#include <QCursor>
#include <QGuiApplication>

class BusyCursor {
  public:
    BusyCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QGuiApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};
