#pragma once
// The program speaks Chinese whatever language the system speaks: Qt's own texts (the standard
// buttons of message boxes, file dialogs, the context menus of text fields, the calendar) come
// from Qt's Chinese translation qtbase_zh_CN.qm, and dates, weekdays and numbers follow a Chinese
// locale. QtCore only.

#include <QString>

class QCoreApplication;

// Makes zh_CN the default locale and installs Qt's Chinese translation, looked for first in a
// folder "translations" beside the program (where the Windows build ships it), then in Qt's own
// translations folder. Returns the file installed, or an empty text when there is none (Qt's
// texts then stay English; the program's own are Chinese anyway).
QString installChineseTranslation(QCoreApplication& app, const QString& programDir);
