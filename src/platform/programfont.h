#pragma once
// The program's font: 宋体 (SimSun) where the system has it (every Chinese Windows does), otherwise
// a CJK serif font, otherwise any CJK font (Microsoft YaHei, which every Windows since Vista has).

#include <QFont>

QFont songtiFont(int pointSize);
