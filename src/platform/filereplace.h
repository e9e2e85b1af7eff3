#pragma once
// Putting a newly written file in the place of an old one. Unix systems rename a file over another
// whoever holds the old one open. Windows replaces no file that another program has open: a virus
// scanner, an indexer, an editor or a second copy of this program reading it for a moment. There
// the new file is first put beside the old one under a name of its own, and its move into place is
// tried again while the old one is held. QtCore only.

#include <QString>

// Whether a rename replaces a file that other programs hold open (Unix systems).
bool renameReplacesOpenFiles();

// Moves the file `from` over the file `to`, trying again for up to timeoutMs while another program
// holds `to`. False, with the reason in *reason, when it could not; both files are then as they
// were.
bool moveIntoPlace(const QString& from, const QString& to, int timeoutMs, QString* reason);
