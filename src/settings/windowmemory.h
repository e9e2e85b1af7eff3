#pragma once
// The main window comes back where the user left it: its place and size, and the widths the user
// gave the columns of its grid, kept in the program's settings when the program ends. The other
// columns fit their contents.

class MainWindow;

// Restores the place and size at once (call it before MainWindow::startUp()), the column widths
// right after the start-up has set the designed ones, and keeps both when the program ends.
void installWindowMemory(MainWindow& window);
