#pragma once
// One batch of concrete test specimens: eleven text fields, in the order they stand in a line of
// a.bz and in grid columns 1 to 11. Reading and writing records parses no field as a number or a
// date. QtCore only.

#include <QString>
#include <QStringList>
#include <QStringView>

struct SpecimenRecord {
    static constexpr int kFieldCount = 11;

    QString projectPart;    // 工程部位
    QString strengthGrade;  // 强度等级(C)
    QString mixNumber;      // 配合比编号
    QString castingDate;    // 制作日期: date, blank, hour, ":", minute
    QString curingAgeDays;  // 龄期（D）
    QString dueTime;        // 到期时间: "YYYY-MM-DD hh:mm"
    QString curingMethod;   // 养护方式
    QString quantity;       // 工程量
    QString groupCount;     // 组数
    QString remark;         // 备注
    QString dueMark;        // 是否到期: "到期" once the reminder has fired

    QStringList fields() const;
    // Missing fields stay empty, surplus fields are ignored.
    static SpecimenRecord fromFields(const QStringList& fields);
};

// Column layout shared by both record grids.
namespace recordcolumns {
constexpr int kNumber = 0;
constexpr int kDueTime = 6;
constexpr int kDueMark = 11;
constexpr int kMainGridColumns = 13;    // one more, unnamed column that nothing fills
constexpr int kEditorGridColumns = 12;  // ends with the due-mark column
// The fields in the order the lists of due records show them: the due time first, then the others
// in file order.
constexpr int kDueTimeFirst[] = {5, 0, 1, 2, 3, 4, 6, 7, 8, 9, 10};
}  // namespace recordcolumns

// "到期", the mark of a record whose reminder has fired.
QString dueMarkText();

// Headings of row 0, columns 0 to 11.
const QStringList& recordHeadings();

// Splits a line at every comma: two commas in a row give an empty field, a comma at the end an
// empty last field, and an empty line no fields at all. There is no quoting.
QStringList splitRecordLine(const QString& line);

// The fields joined by commas, the inverse of splitRecordLine() for a non-empty list.
QString joinRecordLine(const QStringList& fields);

// Whether the text is a due time in the form the editor writes: exactly "YYYY-MM-DD hh:mm",
// zero-filled, of a real calendar date and a time from 00:00 to 23:59. Such texts sort in time
// order.
bool isDueTimeText(QStringView text);
