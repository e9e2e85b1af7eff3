#pragma once
// The records of a.bz that fall due within a span of minutes, whatever day: the records of the
// days the program did not watch (announced late at start-up and at a day change) and those of the
// coming days (the exit question). QtCore only.
//
// A line is taken when its due time (field 5) reads as a minute (dueminute.h) from `first` to
// `last`, both "YYYY-MM-DD hh:mm" texts, and it does not carry the due mark "到期" in field 10
// (a record stored as fired). Taken lines are appended to the grid in file order, placed as the
// loaders place a line. The file is searched for the months of the span ("YYYY-MM-" of a
// zero-filled date), so a span of a few days costs one or two passes over it.

#include <QString>

#include "records/recordloader.h"

class RecordGrid;

LoadReport loadDueBetween(RecordGrid& grid, const QString& dataFilePath, const QString& first,
                          const QString& last);
