#pragma once
// The main window's 试验计划 (action syjh, Ctrl+P) opens the 试验计划 window, created on first use
// and kept when closed. Its week ahead follows every record added in the editor, and after it
// rewrote due times the main window reloads today's list.

class MainWindow;

void installPlanningCommand(MainWindow& window);
