#pragma once
// The main window's 插入数据 (action crsj) opens the record editor, modal over the main window.
// The editor is created on first use; 关闭 hides it and the next use shows it again with the typed
// fields as they were and the records read afresh from a.bz; the window's close button destroys it
// and the next use creates a new one.

class MainWindow;

void installEditorCommand(MainWindow& window);
