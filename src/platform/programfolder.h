#pragma once
// Whether the folder that holds the executable may also hold the program's data: it must be a
// folder this user can write to, and not one that programs are installed into by the system
// (/usr, /opt ... on Unix systems; Program Files and the Windows folder on Windows), even for an
// administrator or root, who may write there. QtCore only.

#include <QString>

bool canHoldData(const QString& exeDir);
