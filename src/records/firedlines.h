#pragma once
// The lines 删除过期数据 takes out of a.bz: one line for each fired row of today's list, the first
// line of the file equal to the row's record line that no earlier row took. A twin of a fired
// record (the same line again) that has not fired, or that was only taken off the list by a double
// click, stays in the file, and so does every line another program added meanwhile. Twins are the
// same bytes, so which of them goes cannot be told apart afterwards. QtCore only.

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QSet>
#include <optional>

#include "platform/textfile.h"

class FiredLines {
  public:
    // The record lines of the fired rows, a line once per row.
    explicit FiredLines(const QList<QByteArray>& lines);

    // How many of the lines the file holds now. Nothing, with the reason in Chinese, when the file
    // is missing or cannot be read.
    std::optional<int> countIn(const QString& path, QString* error) const;

    // Writes the file's lines without the fired ones, in their order, CR LF between them and none
    // after the last. False, with the reason in Chinese, on a read error, or when `write` fails
    // (the reason is then the writer's). *removed: how many lines were left out.
    bool writeRest(const QString& path, const ByteWriter& write, int* removed,
                   QString* error) const;

  private:
    // Calls keep(line) for each line of the file that is not taken out; false on a read error.
    template <typename Keep>
    bool walk(const QString& path, Keep&& keep, int* removed, QString* error) const;

    QHash<QByteArray, int> m_counts;  // each line, with how many fired rows have it
    QSet<qsizetype> m_lengths;        // a quick first test for each line of the file
};
