#pragma once
// The week ahead taken away from the screen: the testing list of the chosen days, grouped by day,
// for paper and PDF, and the same records as CSV rows for the lab's spreadsheets. The overdue
// records still in a.bz (often years of tested batches) are left out of both and counted in the
// list's summary. QtCore only.

#include <QByteArrayView>
#include <QDate>

#include "planning/weekahead.h"
#include "report/reporttable.h"

// The heading line of a group: date, weekday, batches and groups ("已过期未删除" for the overdue).
QString weekAheadGroupText(const WeekAheadGroup& group);

// The list to print: one group per day from `today` on, due times as "hh:mm" under the day's
// heading, an empty 完成 column to tick at the bench.
ReportTable weekAheadTestingList(const WeekAhead& week, QByteArrayView fileBytes);

// The CSV file of the same records: every column of the week ahead, the whole due time.
QByteArray weekAheadCsv(const WeekAhead& week, QByteArrayView fileBytes);
