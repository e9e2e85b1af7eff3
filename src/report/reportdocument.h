#pragma once
// A report on pages: A4 paper through a QPrinter, or a PDF through a QPdfWriter. Each page carries
// the report's title and the time it was printed at the top and "第 n 页，共 N 页" at the foot.
// The columns share the page's width by what they hold (a text too long for its share wraps in
// its cell); a group's heading never stands alone at the foot of a page, and a group that runs
// over a page starts the next one with its heading marked "（续）" and the column headings again.
//
// ReportLayout works the pages out from the font's measures on the device, without painting, so
// it can be checked on its own; the painting then draws each page as laid out. Long lists are
// laid out and painted in a time that grows with their length only.

#include <QFont>
#include <QList>
#include <QPageLayout>
#include <QSizeF>
#include <QString>

#include "report/reporttable.h"

class QPagedPaintDevice;
class QPaintDevice;
class QPainter;

class ReportLayout {
  public:
    struct Item {
        enum class Kind { Summary, Heading, ColumnHeadings, Row };
        Kind kind = Kind::Row;
        int group = -1;
        int row = -1;            // of the group, for a Row
        bool continued = false;  // a Heading repeated on a later page
        qreal top = 0;
        qreal height = 0;
    };
    using Page = QList<Item>;

    // Lays the table out on pages whose body (between header and footer) has the given size, in
    // the device's pixels.
    ReportLayout(const ReportTable& table, QSizeF body, QPaintDevice* device);

    const QList<Page>& pages() const { return m_pages; }
    const QList<qreal>& columnWidths() const { return m_widths; }
    // Paints one page's body with its top left corner at the painter's origin.
    void paintBody(QPainter& painter, int page) const;

  private:
    QList<qreal> fitColumns(qreal width) const;
    qreal rowHeight(const QStringList& cells, const QFont& font) const;
    void paintRow(QPainter& painter, const QStringList& cells, qreal top, qreal height,
                  bool headings) const;

    const ReportTable& m_table;
    QSizeF m_body;
    QPaintDevice* m_device;
    QFont m_font;
    QFont m_bold;
    QFont m_heading;
    qreal m_padding = 0;
    QList<qreal> m_widths;
    QList<Page> m_pages;
};

// Paints the report on the device's pages (A4 with its margins, as the caller set them) with their
// headers and footers. Returns the number of pages, 0 when the device could not be painted on.
int paintReport(const ReportTable& table, QPagedPaintDevice& device, const QString& printedAt);

// The report as an A4 PDF, written atomically: on any failure the file at the path is left as it
// was and *error says why, in Chinese. *pages receives the number of pages.
bool writeReportPdf(const ReportTable& table, const QString& path,
                    QPageLayout::Orientation orientation, const QString& printedAt, QString* error,
                    int* pages = nullptr);

// Sets A4 and the report's margins on a device before paintReport().
void setReportPageLayout(QPagedPaintDevice& device, QPageLayout::Orientation orientation);
