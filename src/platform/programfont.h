#pragma once
// The program's font: 宋体 (SimSun) where the system has it, otherwise a CJK serif font, otherwise
// any CJK font.

#include <QFont>

QFont songtiFont(int pointSize);
