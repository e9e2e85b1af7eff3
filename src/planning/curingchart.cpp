#include "planning/curingchart.h"

#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>

#include "planning/planningtexts.h"

using namespace planningtexts;

namespace {

const QColor kLogged(0x1F, 0x4E, 0x9A);
const QColor kEstimated(0x7F, 0x9C, 0xC8);
const QColor kThreshold(0xC0, 0x30, 0x30);
const QColor kMark(0x80, 0x80, 0x80);
const QColor kToday(0x10, 0x80, 0x40);
const QColor kGrid(0xE4, 0xE4, 0xE4);

// A step for the axis that gives about `wanted` ticks over `span`.
int niceStep(double span, int wanted) {
    const int steps[] = {1, 2, 5, 7, 10, 14, 20, 30, 50, 60, 100, 200, 500, 1000};
    for (int s : steps)
        if (span / s <= wanted) return s;
    return 2000;
}

}  // namespace

CuringChart::CuringChart(QWidget* parent) : QWidget(parent) {
    setAccessibleName(kChartName);
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
    clear(kChartHint);
}

QSize CuringChart::sizeHint() const {
    return {480, fontMetrics().height() * 12};
}

QSize CuringChart::minimumSizeHint() const {
    return {240, fontMetrics().height() * 8};
}

void CuringChart::setCurve(const QString& caption, QList<CuringDay> days, int dueAge, int today) {
    m_caption = caption;
    m_days = std::move(days);
    m_dueAge = dueAge;
    m_today = today;
    setAccessibleDescription(caption);
    update();
}

void CuringChart::clear(const QString& text) {
    setCurve(text, {}, 0, -1);
}

int CuringChart::countedDay(int count) const {
    for (int i = 0; i < m_days.size(); ++i)
        if (m_days[i].counted >= count) return i + 1;
    return 0;
}

void CuringChart::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QFontMetrics fm = fontMetrics();
    const int line = fm.height();
    p.setPen(palette().color(QPalette::Text));
    p.drawText(QRect(6, 2, width() - 12, line), Qt::AlignLeft | Qt::AlignVCenter, m_caption);
    if (m_days.isEmpty()) return;

    // The plot, with room for the scale on the left and the day numbers below.
    const double top = 2.5 * line;
    const QRectF plot(fm.horizontalAdvance(QStringLiteral("0000")) + 12, top,
                      width() - fm.horizontalAdvance(QStringLiteral("0000")) - 24,
                      height() - top - 1.5 * line);
    if (plot.width() < 20 || plot.height() < 20) return;
    const int days = int(m_days.size());
    int highest = kEquivalentTenths;
    for (const CuringDay& d : m_days) highest = qMax(highest, d.sumTenths);
    const double yMax = (highest * 1.1) / 10;  // ℃·d
    auto x = [&](double day) { return plot.left() + plot.width() * day / days; };
    auto y = [&](double degreeDays) { return plot.bottom() - plot.height() * degreeDays / yMax; };

    // Scale and grid.
    p.setFont(font());
    const int yStep = niceStep(yMax, 5);
    for (int v = 0; v <= yMax; v += yStep) {
        p.setPen(kGrid);
        p.drawLine(QPointF(plot.left(), y(v)), QPointF(plot.right(), y(v)));
        p.setPen(palette().color(QPalette::Text));
        p.drawText(QRectF(0, y(v) - line / 2.0, plot.left() - 6, line),
                   Qt::AlignRight | Qt::AlignVCenter, QString::number(v));
    }
    const int xStep = niceStep(days, 10);
    for (int d = 0; d <= days; d += xStep)
        p.drawText(QRectF(x(d) - 30, plot.bottom() + 2, 60, line), Qt::AlignCenter,
                   QString::number(d));
    p.drawText(QRectF(plot.right() - 120, plot.bottom() + 2, 120, line),
               Qt::AlignRight | Qt::AlignVCenter, kChartDays);
    p.drawRect(plot);

    // The 600 ℃·d line, the 14- and 60-day marks, the due day and today.
    p.setPen(QPen(kThreshold, 1.5, Qt::DashLine));
    p.drawLine(QPointF(plot.left(), y(600)), QPointF(plot.right(), y(600)));
    p.drawText(QRectF(plot.left() + 4, y(600) - line, 200, line), Qt::AlignLeft | Qt::AlignBottom,
               kChartThreshold);
    auto mark = [&](int day, const QColor& colour, Qt::PenStyle style, const QString& label) {
        if (day < 0 || day > days) return;
        p.setPen(QPen(colour, 1.5, style));
        p.drawLine(QPointF(x(day), plot.top()), QPointF(x(day), plot.bottom()));
        p.drawText(QRectF(x(day) - 60, plot.top() - line, 120, line), Qt::AlignCenter, label);
    };
    const int min = countedDay(kMinCountedDays);
    const int max = countedDay(kMaxCountedDays);
    if (min > 0) mark(min, kMark, Qt::DotLine, kChartMinDays);
    if (max > 0) mark(max, kMark, Qt::DotLine, kChartMaxDays);
    mark(m_today, kToday, Qt::SolidLine, kChartToday);

    // The curve: a segment to each day, drawn as that day's temperature was known.
    QPointF previous(x(0), y(0));
    const double radius = days <= 120 ? 2.5 : 0;
    for (int i = 0; i < days; ++i) {
        const CuringDay& d = m_days[i];
        const QPointF point(x(i + 1), y(d.sumTenths / 10.0));
        const QColor colour = d.estimated ? kEstimated : kLogged;
        p.setPen(QPen(colour, 2, d.estimated ? Qt::DashLine : Qt::SolidLine));
        p.drawLine(previous, point);
        if (radius > 0) {
            p.setPen(QPen(colour, 1.2));
            p.setBrush(d.estimated ? QBrush(palette().color(QPalette::Base)) : QBrush(colour));
            p.drawEllipse(point, radius, radius);
            p.setBrush(Qt::NoBrush);
        }
        previous = point;
    }
    if (m_dueAge > 0 && m_dueAge <= days) {
        const QPointF due(x(m_dueAge), y(m_days[m_dueAge - 1].sumTenths / 10.0));
        p.setPen(QPen(kThreshold, 2));
        p.setBrush(kThreshold);
        p.drawEllipse(due, 4.5, 4.5);
        p.setBrush(Qt::NoBrush);
        p.drawText(QRectF(due.x() + 6, due.y() + 2, 200, line), Qt::AlignLeft | Qt::AlignTop,
                   kChartDue.arg(m_dueAge));
    }

    // The legend, top right.
    const QString logged = kChartLogged, estimated = kChartEstimated;
    const int swatch = 24;
    double lx = width() - 12 - fm.horizontalAdvance(logged) - fm.horizontalAdvance(estimated) -
                2 * swatch - 24;
    const double ly = 1.5 * line + 2;
    for (const auto& [text, colour, style] : {std::tuple{logged, kLogged, Qt::SolidLine},
                                              std::tuple{estimated, kEstimated, Qt::DashLine}}) {
        p.setPen(QPen(colour, 2, style));
        p.drawLine(QPointF(lx, ly), QPointF(lx + swatch, ly));
        p.setPen(palette().color(QPalette::Text));
        p.drawText(QRectF(lx + swatch + 4, ly - line / 2.0, 200, line),
                   Qt::AlignLeft | Qt::AlignVCenter, text);
        lx += swatch + 16 + fm.horizontalAdvance(text);
    }
}
