#pragma once
// A list to take away from the screen, on paper, as PDF or as CSV: its columns, then groups of
// rows, each under a heading line (the testing list groups its records by day). QtCore only.

#include <QList>
#include <QString>
#include <QStringList>

struct ReportGroup {
    QString heading;  // empty: the rows stand without a heading line
    QList<QStringList> rows;
};

struct ReportTable {
    QString title;    // at the top of every page, and the PDF's title
    QString summary;  // under it on the first page; may be empty
    QStringList columns;
    QList<ReportGroup> groups;

    qsizetype rowCount() const {
        qsizetype n = 0;
        for (const ReportGroup& g : groups) n += g.rows.size();
        return n;
    }
};
