#include "report/reportdocument.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>

#include "platform/programfont.h"
#include "platform/textfile.h"

namespace {

constexpr int kBodyPoints = 9;
constexpr int kHeadingPoints = 10;
constexpr qreal kMarginMillimetres = 12;
// Cell texts wrap wherever they must: Chinese has no spaces to wrap at.
constexpr int kCellFlags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWrapAnywhere;
const QString kFooter = QStringLiteral("第 %1 页，共 %2 页");
const QString kPrintedAt = QStringLiteral("打印时间：%1");
const QString kContinued = QStringLiteral("（续）");
const QString kNoPages = QStringLiteral("无法生成 PDF。");
const QColor kHeadingsBackground(0xE8, 0xE8, 0xE8);

QFont withBold(QFont font, int pointSize) {
    font.setBold(true);
    font.setPointSize(pointSize);
    return font;
}

}  // namespace

ReportLayout::ReportLayout(const ReportTable& table, QSizeF body, QPaintDevice* device)
    : m_table(table),
      m_body(body),
      m_device(device),
      m_font(songtiFont(kBodyPoints)),
      m_bold(withBold(m_font, kBodyPoints)),
      m_heading(withBold(m_font, kHeadingPoints)) {
    const QFontMetricsF metrics(m_font, device);
    m_padding = metrics.height() * 0.25;
    m_widths = fitColumns(body.width());

    using Kind = Item::Kind;
    Page page;
    qreal y = 0;
    auto place = [&](Kind kind, int group, int row, bool continued, qreal height) {
        page.append({kind, group, row, continued, y, height});
        y += height;
    };
    auto fits = [&](qreal height) { return page.isEmpty() || y + height <= body.height(); };
    auto nextPage = [&] {
        m_pages.append(page);
        page.clear();
        y = 0;
    };
    if (!table.summary.isEmpty()) {
        const QRectF r =
            metrics.boundingRect(QRectF(0, 0, body.width(), 1e9),
                                 Qt::TextWordWrap | Qt::TextWrapAnywhere, table.summary);
        place(Kind::Summary, -1, -1, false, r.height() + metrics.height() * 0.5);
    }
    const qreal headingHeight = QFontMetricsF(m_heading, device).height() * 1.6;
    const qreal headingsHeight = rowHeight(table.columns, m_bold);
    for (int g = 0; g < table.groups.size(); ++g) {
        const ReportGroup& group = table.groups.at(g);
        const bool headed = !group.heading.isEmpty();
        auto startGroup = [&](bool continued) {
            if (headed) place(Kind::Heading, g, -1, continued, headingHeight);
            place(Kind::ColumnHeadings, g, -1, continued, headingsHeight);
        };
        // A heading never stands at the foot of a page without a row under it.
        const qreal first = group.rows.isEmpty() ? 0 : rowHeight(group.rows.first(), m_font);
        if (!fits((headed ? headingHeight : 0) + headingsHeight + first)) nextPage();
        startGroup(false);
        for (int r = 0; r < group.rows.size(); ++r) {
            const qreal height = r == 0 ? first : rowHeight(group.rows.at(r), m_font);
            if (!fits(height)) {
                nextPage();
                startGroup(true);
            }
            place(Kind::Row, g, r, false, height);
        }
        y += metrics.height() * 0.5;  // space before the next group
    }
    if (!page.isEmpty() || m_pages.isEmpty()) m_pages.append(page);
}

QList<qreal> ReportLayout::fitColumns(qreal width) const {
    const QFontMetricsF plain(m_font, m_device);
    const QFontMetricsF bold(m_bold, m_device);
    const int n = int(m_table.columns.size());
    // What each column holds on one line, and the least it may have: one character.
    QList<qreal> natural(n);
    const qreal least = plain.horizontalAdvance(QStringLiteral("中")) + 2 * m_padding;
    for (int c = 0; c < n; ++c) {
        qreal widest = bold.horizontalAdvance(m_table.columns.at(c));
        for (const ReportGroup& g : m_table.groups)
            for (const QStringList& row : g.rows)
                widest = qMax(widest, plain.horizontalAdvance(row.value(c)));
        natural[c] = qMax(widest + 2 * m_padding + 1, least);
    }
    qreal total = 0;
    for (qreal w : natural) total += w;
    QList<qreal> widths(n);
    if (total <= width) {
        // Room to spare goes to every column alike.
        for (int c = 0; c < n; ++c) widths[c] = natural[c] + (width - total) / n;
        return widths;
    }
    // Columns that hold less than an equal share of what is left keep their width; the others
    // share the rest and wrap.
    QList<int> open;
    for (int c = 0; c < n; ++c) open << c;
    qreal left = width;
    for (bool settled = true; settled && !open.isEmpty();) {
        settled = false;
        const qreal share = left / open.size();
        for (qsizetype i = 0; i < open.size(); ++i) {
            if (natural[open[i]] > share) continue;
            widths[open[i]] = natural[open[i]];
            left -= natural[open[i]];
            open.removeAt(i--);
            settled = true;
        }
    }
    for (int c : open) widths[c] = qMax(left / open.size(), least);
    return widths;
}

qreal ReportLayout::rowHeight(const QStringList& cells, const QFont& font) const {
    const QFontMetricsF metrics(font, m_device);
    qreal height = metrics.height();
    for (int c = 0; c < m_widths.size(); ++c) {
        const QString text = cells.value(c);
        const qreal inner = m_widths[c] - 2 * m_padding;
        if (metrics.horizontalAdvance(text) <= inner) continue;  // one line
        height =
            qMax(height, metrics.boundingRect(QRectF(0, 0, inner, 1e9), kCellFlags, text).height());
    }
    return height + 2 * m_padding;
}

void ReportLayout::paintRow(QPainter& painter, const QStringList& cells, qreal top, qreal height,
                            bool headings) const {
    qreal x = 0;
    for (int c = 0; c < m_widths.size(); ++c) {
        const QRectF cell(x, top, m_widths[c], height);
        if (headings) painter.fillRect(cell, kHeadingsBackground);
        painter.drawRect(cell);
        painter.drawText(cell.adjusted(m_padding, m_padding, -m_padding, -m_padding), kCellFlags,
                         cells.value(c));
        x += m_widths[c];
    }
}

void ReportLayout::paintBody(QPainter& painter, int page) const {
    using Kind = Item::Kind;
    painter.setPen(QPen(Qt::black, m_device->logicalDpiX() / 144.0));  // half a point
    for (const Item& item : m_pages.at(page)) {
        const QRectF line(0, item.top, m_body.width(), item.height);
        switch (item.kind) {
            case Kind::Summary:
                painter.setFont(m_font);
                painter.drawText(
                    line, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap | Qt::TextWrapAnywhere,
                    m_table.summary);
                break;
            case Kind::Heading:
                painter.setFont(m_heading);
                painter.drawText(line, Qt::AlignLeft | Qt::AlignVCenter,
                                 m_table.groups.at(item.group).heading +
                                     (item.continued ? kContinued : QString()));
                break;
            case Kind::ColumnHeadings:
                painter.setFont(m_bold);
                paintRow(painter, m_table.columns, item.top, item.height, true);
                break;
            case Kind::Row:
                painter.setFont(m_font);
                paintRow(painter, m_table.groups.at(item.group).rows.at(item.row), item.top,
                         item.height, false);
                break;
        }
    }
}

void setReportPageLayout(QPagedPaintDevice& device, QPageLayout::Orientation orientation) {
    const qreal m = kMarginMillimetres;
    device.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), orientation, QMarginsF(m, m, m, m),
                                     QPageLayout::Millimeter));
}

int paintReport(const ReportTable& table, QPagedPaintDevice& device, const QString& printedAt) {
    QPainter painter;
    if (!painter.begin(&device)) return 0;
    // The painter's origin is the top left corner of the area inside the page's margins.
    const QRectF area(0, 0, device.width(), device.height());
    const QFont small = songtiFont(kBodyPoints);
    const qreal line = QFontMetricsF(small, &device).height();
    const qreal band = 2 * line;  // for the header and for the footer
    const ReportLayout layout(table, QSizeF(area.width(), area.height() - 2 * band), &device);
    const int pages = int(layout.pages().size());
    const QRectF header(0, 0, area.width(), line);
    const QRectF footer(0, area.bottom() - line, area.width(), line);
    for (int p = 0; p < pages; ++p) {
        if (p > 0 && !device.newPage()) return 0;
        painter.setFont(small);
        painter.setPen(QPen(Qt::black, device.logicalDpiX() / 144.0));
        painter.drawText(header, Qt::AlignLeft | Qt::AlignVCenter, table.title);
        painter.drawText(header, Qt::AlignRight | Qt::AlignVCenter, kPrintedAt.arg(printedAt));
        painter.drawLine(QLineF(0, line * 1.3, area.width(), line * 1.3));
        painter.drawText(footer, Qt::AlignHCenter | Qt::AlignVCenter,
                         kFooter.arg(p + 1).arg(pages));
        painter.save();
        painter.translate(0, band);
        layout.paintBody(painter, p);
        painter.restore();
    }
    return painter.end() ? pages : 0;
}

bool writeReportPdf(const ReportTable& table, const QString& path,
                    QPageLayout::Orientation orientation, const QString& printedAt, QString* error,
                    int* pages) {
    QByteArray bytes;
    int count = 0;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setTitle(table.title);
        writer.setCreator(QStringLiteral("Mirosta"));
        writer.setResolution(600);
        setReportPageLayout(writer, orientation);
        count = paintReport(table, writer, printedAt);
    }
    if (pages) *pages = count;
    if (count == 0) {
        if (error) *error = kNoPages;
        return false;
    }
    return writeFileAtomically(path, bytes, error);
}
