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
    const QColor text = palette().color(QPalette::Text);
    p.setPen(text);
    p.drawText(QRect(6, 2, width() - 12, line), Qt::AlignLeft | Qt::AlignVCenter, m_caption);
    if (m_days.isEmpty()) return;

    // The legend at the right of the caption's line.
    const int swatch = 24;
    double lx = width() - 8;
    for (const auto& [label, colour, style] :
         {std::tuple{kChartEstimated, kEstimated, Qt::DashLine},
          std::tuple{kChartLogged, kLogged, Qt::SolidLine}}) {
        lx -= fm.horizontalAdvance(label);
        p.setPen(text);
        p.drawText(QPointF(lx, 2 + fm.ascent()), label);
        lx -= swatch + 4;
        p.setPen(QPen(colour, 2, style));
        p.drawLine(QPointF(lx, 2 + line / 2.0), QPointF(lx + swatch, 2 + line / 2.0));
        lx -= 16;
    }

    // The plot, with the scale on its left (its unit above it) and the day numbers below.
    const int scaleWidth = fm.horizontalAdvance(QStringLiteral("0000")) + 12;
    const QRectF plot(scaleWidth, 2.5 * line, width() - scaleWidth - 12, height() - 4.8 * line);
    if (plot.width() < 40 || plot.height() < 20) return;
    const int days = int(m_days.size());
    int highest = kEquivalentTenths;
    for (const CuringDay& d : m_days) highest = qMax(highest, d.sumTenths);
    const double yMax = (highest * 1.1) / 10;  // ℃·d
    auto x = [&](double day) { return plot.left() + plot.width() * day / days; };
    auto y = [&](double degreeDays) { return plot.bottom() - plot.height() * degreeDays / yMax; };

    p.setPen(text);
    p.drawText(QRectF(0, plot.top() - 1.4 * line, scaleWidth + 40, line),
               Qt::AlignLeft | Qt::AlignVCenter, kChartUnit);
    const int yStep = niceStep(yMax, 5);
    for (int v = 0; v <= yMax; v += yStep) {
        p.setPen(kGrid);
        p.drawLine(QPointF(plot.left(), y(v)), QPointF(plot.right(), y(v)));
        p.setPen(text);
        p.drawText(QRectF(0, y(v) - line / 2.0, plot.left() - 6, line),
                   Qt::AlignRight | Qt::AlignVCenter, QString::number(v));
    }
    // Day numbers under the plot, and the axis's name under them at the right.
    const QRectF axisName(plot.right() - fm.horizontalAdvance(kChartDays), plot.bottom() + line,
                          fm.horizontalAdvance(kChartDays), line);
    const int xStep = niceStep(days, 10);
    for (int d = 0; d <= days; d += xStep)
        p.drawText(QRectF(x(d) - 30, plot.bottom() + 2, 60, line), Qt::AlignCenter,
                   QString::number(d));
    p.drawText(axisName, Qt::AlignRight | Qt::AlignVCenter, kChartDays);
    p.drawRect(plot);

    // A vertical mark with its label inside the plot, at its top or its foot, beside the line on
    // whichever side has room.
    auto mark = [&](int day, const QColor& colour, Qt::PenStyle style, const QString& label,
                    bool atTop) {
        if (day < 0 || day > days) return;
        p.setPen(QPen(colour, 1.5, style));
        p.drawLine(QPointF(x(day), plot.top()), QPointF(x(day), plot.bottom()));
        const double w = fm.horizontalAdvance(label) + 4;
        const double left = x(day) + w + 2 <= plot.right() ? x(day) + 2 : x(day) - w - 2;
        p.drawText(QRectF(left, atTop ? plot.top() + 2 : plot.bottom() - line - 2, w, line),
                   Qt::AlignCenter, label);
    };
    const int min = countedDay(kMinCountedDays);
    const int max = countedDay(kMaxCountedDays);
    if (min > 0) mark(min, kMark, Qt::DotLine, kChartMinDays, true);
    if (max > 0) mark(max, kMark, Qt::DotLine, kChartMaxDays, true);
    mark(m_today, kToday, Qt::SolidLine, kChartToday, false);

    // The 600 ℃·d line.
    p.setPen(QPen(kThreshold, 1.5, Qt::DashLine));
    p.drawLine(QPointF(plot.left(), y(600)), QPointF(plot.right(), y(600)));
    p.drawText(QRectF(plot.left() + 4, y(600) - line, 200, line), Qt::AlignLeft | Qt::AlignBottom,
               kChartThreshold);

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
        const QString label = kChartDue.arg(m_dueAge);
        const double w = fm.horizontalAdvance(label) + 4;
        const double left = due.x() + 8 + w <= plot.right() ? due.x() + 8 : due.x() - 8 - w;
        p.drawText(QRectF(left, due.y() + 4, w, line), Qt::AlignCenter, label);
    }
}
