#pragma once
// The casting-date field of the editor: a text field that takes a date typed in any form
// readTypedDate() accepts ("2026-11-5", "2026-11-05", "2026/11/5", "20261105"), with a calendar
// pop-up behind the button at its end, F4 or Alt+Down. A text that names no date is never read as
// another date: date() gives nothing, and once the user leaves the field it shows in red. A valid
// text is shown the way the record stores it ("2026-11-5") when the field is left.

#include <QDate>
#include <QLineEdit>
#include <optional>

class QCalendarWidget;

class CastingDateEdit : public QLineEdit {
    Q_OBJECT
  public:
    explicit CastingDateEdit(QWidget* parent = nullptr);

    // The date the text names, or nothing.
    std::optional<QDate> date() const;
    void setDate(const QDate& date);

    // Opens the calendar on the field's date (or today), below the field.
    void showCalendar();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    // Normal text for a valid (or unfinished) text, red for a refused one.
    void showRefused(bool refused);
    void tidy();

    QColor m_normalText;
    QCalendarWidget* m_calendar = nullptr;
};
