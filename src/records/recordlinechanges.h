#pragma once
// Changing chosen lines of a.bz and no others: every byte of every other line, its line end
// included, stays as it was, so a line the editor cannot show, a hand-made line end or a file that
// does not end with the editor's line of commas are all kept. QtCore only.
//
// A line to replace or remove is named by its bytes and by which of the lines with those bytes it
// is (the file has no record identity beyond a line's text and place). On the file the change was
// worked out on, that finds exactly the line meant. On a file another program has changed since,
// it finds the same record wherever it now stands; when fewer equal lines are left than the
// change counts, it takes the last one left, since equal lines are the same record. Only when no
// equal line is left at all is the change refused.
//
// Each change comes back with its inverse, so that undoing it and doing it again are changes like
// any other. Done on the file as they left it, the inverse changes give back the same bytes.

#include <QByteArray>
#include <QList>

struct LineChange {
    enum class Kind {
        Replace,  // `line` becomes `text`; its line end stays
        Remove,   // `line` goes with its line end
        Insert,   // `text` with `lineEnd` becomes line `index` of the changed file
        Append,   // `text` joins the records at the end, before the editor's line of commas
    };
    Kind kind = Kind::Append;
    QByteArray line;     // Replace, Remove: the line as the file holds it, without its line end
    int occurrence = 0;  // Replace, Remove: which of the lines equal to `line`, from 0
    QByteArray text;     // Replace: the new line; Insert, Append: the line to add
    int index = 0;       // Insert: its index among the changed file's lines, from 0
    QByteArray lineEnd;  // Insert: its line end (empty only for a last line without one)
    int gridRow = 0;     // the caller's own note (a grid row), handed on to the inverse
};

struct LineChangeResult {
    bool ok = false;
    // The changed file, in pieces that refer to the input bytes, to the changes and to constant
    // texts: they are valid as long as those are.
    QList<QByteArrayView> pieces;
    QList<LineChange> inverse;  // undo the changes: applied to the result, they give the input back
    QByteArray missingLine;     // when not ok: a line that the file no longer holds
};

// The editor's last line: an empty record row, ten commas.
inline constexpr char kTrailingCommaLine[] = ",,,,,,,,,,";

// Applies the changes to the bytes of a file. `exact`: the bytes are those the changes were worked
// out on. Otherwise an Insert, whose place is then unknown, becomes an Append. Several changes in
// one call: the Replace and Remove changes name lines of the input, the Insert indices count lines
// of the result, and Appends come last, in their order.
LineChangeResult applyLineChanges(const QByteArray& bytes, const QList<LineChange>& changes,
                                  bool exact);
