#include "settings/programsettings.h"

#include <QSettings>

#include "records/recordgrid.h"
#include "settings/scaninterval.h"

namespace {

const QString kScanInterval = QStringLiteral("scan/intervalMs");
const QString kAlertSound = QStringLiteral("reminders/alertSound");
const QString kAdvanceMinutes = QStringLiteral("reminders/advanceMinutes");
const QString kGeometry = QStringLiteral("mainWindow/geometry");
const QString kColumnWidths = QStringLiteral("mainWindow/columnWidths");

// Column widths kept, in twips: from 10 to 2000 pixels. A column dragged narrower than that is
// shown at its designed width again at the next start rather than lost from sight.
constexpr int kNarrowestColumn = 150;
constexpr int kWidestColumn = 30000;

// A whole number kept under the key, or the fallback when there is none or it is out of range.
int keptNumber(const QString& iniPath, const QString& key, int lowest, int highest, int fallback) {
    bool ok = false;
    const int value = QSettings(iniPath, QSettings::IniFormat).value(key).toString().toInt(&ok);
    return ok && value >= lowest && value <= highest ? value : fallback;
}

}  // namespace

ProgramSettings::ProgramSettings(QString iniPath) : m_path(std::move(iniPath)) {}

int ProgramSettings::scanInterval() const {
    return keptNumber(m_path, kScanInterval, 1, kMaxScanIntervalMs, kDefaultScanIntervalMs);
}

void ProgramSettings::setScanInterval(int milliseconds) {
    QSettings(m_path, QSettings::IniFormat).setValue(kScanInterval, milliseconds);
}

bool ProgramSettings::alertSound() const {
    return QSettings(m_path, QSettings::IniFormat).value(kAlertSound).toString() != u"false";
}

void ProgramSettings::setAlertSound(bool on) {
    QSettings(m_path, QSettings::IniFormat).setValue(kAlertSound, on);
}

int ProgramSettings::advanceMinutes() const {
    return keptNumber(m_path, kAdvanceMinutes, 0, kMaxAdvanceMinutes, 0);
}

void ProgramSettings::setAdvanceMinutes(int minutes) {
    QSettings(m_path, QSettings::IniFormat).setValue(kAdvanceMinutes, minutes);
}

QByteArray ProgramSettings::mainWindowGeometry() const {
    const QVariant value = QSettings(m_path, QSettings::IniFormat).value(kGeometry);
    return value.typeId() == QMetaType::QByteArray ? value.toByteArray() : QByteArray();
}

void ProgramSettings::setMainWindowGeometry(const QByteArray& geometry) {
    QSettings(m_path, QSettings::IniFormat).setValue(kGeometry, geometry);
}

QList<int> ProgramSettings::columnWidths(int count) const {
    const QStringList kept =
        QSettings(m_path, QSettings::IniFormat).value(kColumnWidths).toStringList();
    QList<int> widths;
    for (int c = 0; c < count; ++c) {
        bool ok = false;
        const int width = c < kept.size() ? kept.at(c).toInt(&ok) : 0;
        const bool sensible = ok && width >= kNarrowestColumn && width <= kWidestColumn;
        widths << (sensible ? width : RecordGrid::kDefaultWidth);
    }
    return widths;
}

void ProgramSettings::setColumnWidths(const QList<int>& twips) {
    QStringList texts;
    for (int width : twips) texts << QString::number(width);
    QSettings(m_path, QSettings::IniFormat).setValue(kColumnWidths, texts);
}
