#pragma once
// The texts of the commands that take a list away from the screen, shared by the windows that
// offer them.

#include <QString>

namespace reporttexts {

inline const QString kExportCsv = QStringLiteral("导出 CSV…");
inline const QString kExportPdf = QStringLiteral("导出 PDF…");
inline const QString kPrint = QStringLiteral("打印…");
inline const QString kCsvFilter = QStringLiteral("CSV 文件 (*.csv)");
inline const QString kPdfFilter = QStringLiteral("PDF 文件 (*.pdf)");
inline const QString kTitle = QStringLiteral("提示");
inline const QString kTitleError = QStringLiteral("错误");
inline const QString kExporting = QStringLiteral("正在导出…");
// %1: records, %2: the file.
inline const QString kExported = QStringLiteral("已导出 %1 条记录到“%2”。");
// %1: records, %2: pages, %3: the file.
inline const QString kExportedPdf = QStringLiteral("已导出 %1 条记录（%2 页）到“%3”。");
// %1: the reason.
inline const QString kExportFailed = QStringLiteral("导出失败，文件未写入。\n%1");
inline const QString kPrintFailed = QStringLiteral("打印失败：无法使用所选的打印机。");

}  // namespace reporttexts
