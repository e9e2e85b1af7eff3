#include "editor/castingdateedit.h"

#include <QAction>
#include <QCalendarWidget>
#include <QKeyEvent>
#include <QPainter>
#include <QPixmap>
#include <QScreen>

#include "editor/duetime.h"
#include "editor/editortexts.h"
#include "editor/typeddate.h"

namespace {

// A small downward triangle, the sign of a drop-down.
QIcon dropDownIcon(const QColor& colour) {
    QPixmap pixmap(12, 12);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawPolygon(QPolygonF({QPointF(2, 4), QPointF(10, 4), QPointF(6, 9)}));
    return QIcon(pixmap);
}

}  // namespace

CastingDateEdit::CastingDateEdit(QWidget* parent)
    : QLineEdit(parent), m_normalText(palette().color(QPalette::Text)) {
    setToolTip(editortexts::kCastingDateTip);
    QAction* open = addAction(dropDownIcon(palette().color(QPalette::Text)), TrailingPosition);
    open->setText(editortexts::kCalendarName);
    connect(open, &QAction::triggered, this, &CastingDateEdit::showCalendar);
    connect(this, &QLineEdit::textEdited, this, [this] { showRefused(false); });

    m_calendar = new QCalendarWidget(this);
    m_calendar->setWindowFlags(Qt::Popup);
    m_calendar->setGridVisible(true);
    m_calendar->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    m_calendar->hide();
    const auto take = [this](QDate chosen) {
        m_calendar->hide();
        setDate(chosen);
        setFocus(Qt::PopupFocusReason);
    };
    connect(m_calendar, &QCalendarWidget::clicked, this, take);
    connect(m_calendar, &QCalendarWidget::activated, this, take);
}

std::optional<QDate> CastingDateEdit::date() const {
    return readTypedDate(text());
}

void CastingDateEdit::setDate(const QDate& date) {
    setText(dateText(date));
    showRefused(false);
}

void CastingDateEdit::showCalendar() {
    m_calendar->setSelectedDate(date().value_or(QDate::currentDate()));
    m_calendar->adjustSize();
    QRect r(mapToGlobal(rect().bottomLeft()), m_calendar->sizeHint());
    if (const QScreen* s = screen()) {
        const QRect area = s->availableGeometry();
        if (r.bottom() > area.bottom()) r.moveBottom(mapToGlobal(QPoint(0, 0)).y() - 1);
        if (r.right() > area.right()) r.moveRight(area.right());
    }
    m_calendar->setGeometry(r);
    m_calendar->show();
    m_calendar->setFocus(Qt::PopupFocusReason);
}

void CastingDateEdit::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F4 ||
        (event->key() == Qt::Key_Down && event->modifiers() & Qt::AltModifier)) {
        showCalendar();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void CastingDateEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    if (event->reason() != Qt::PopupFocusReason) tidy();
}

void CastingDateEdit::tidy() {
    const std::optional<QDate> d = date();
    if (d && text() != dateText(*d))
        setDate(*d);
    else
        showRefused(!d);
}

void CastingDateEdit::showRefused(bool refused) {
    QPalette p = palette();
    p.setColor(QPalette::Text, refused ? QColor(Qt::red) : m_normalText);
    setPalette(p);
}
