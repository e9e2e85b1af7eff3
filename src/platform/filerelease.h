#pragma once
// Waiting for another program to let go of a file that is about to be replaced. On Windows a
// virus scanner, an indexer or an editor may hold a file open for a moment in a way that keeps it
// from being replaced; Unix systems replace a file whoever holds it open. QtCore only.

#include <QString>

// Waits until the file at `path` can be replaced, for at most timeoutMs. True when it can (or when
// nothing holds it, or it does not exist); false when another program still holds it.
bool waitForRelease(const QString& path, int timeoutMs);
