#include "editor/ageticks.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QSettings>

#include "editor/editortexts.h"
#include "platform/twips.h"

using namespace editortexts;

namespace {

constexpr int kTickableAges[] = {3, 7, 14, 28, 56, 60};
const QString kTicksKey = QStringLiteral("editor/moreAges");
const QString kOtherAgeKey = QStringLiteral("editor/otherAge");

}  // namespace

AgeTicks::AgeTicks(QString settingsPath, QWidget* parent)
    : QWidget(parent), m_settingsPath(std::move(settingsPath)) {
    setObjectName(QStringLiteral("AgeTicks"));
    setAccessibleName(kSeveralAges.chopped(1));
    for (int days : kTickableAges) {
        auto* tick = new QCheckBox(QString::number(days), this);
        tick->setObjectName(QStringLiteral("CheckAge%1").arg(days));
        tick->setAccessibleName(kTickName.arg(days));
        m_ticks.append({days, tick});
    }
    m_otherAge = new QLineEdit(this);
    m_otherAge->setObjectName(QStringLiteral("TextAgeOther"));
    m_otherAge->setAccessibleName(kOtherAgeName);
    m_otherAge->setToolTip(kOtherAgeTip);
    restore();
    for (const auto& [days, tick] : m_ticks)
        connect(tick, &QCheckBox::toggled, this, &AgeTicks::keep);
    connect(m_otherAge, &QLineEdit::editingFinished, this, &AgeTicks::keep);
}

void AgeTicks::layOut() {
    int left = 0;
    for (const auto& [days, tick] : m_ticks) {
        tick->setGeometry(left, 0, twips::toPixels(days < 10 ? 450 : 540), height());
        left = tick->geometry().right() + 1;
    }
    m_otherAge->setGeometry(left + 2, 2, width() - left - 2, height() - 4);
}

QList<int> AgeTicks::ages() const {
    QList<int> ages;
    for (const auto& [days, tick] : m_ticks)
        if (tick->isChecked()) ages.append(days);
    bool whole = false;
    const int other = m_otherAge->text().trimmed().toInt(&whole);
    if (whole && other >= 1) ages.append(other);
    return ages;
}

void AgeTicks::keep() const {
    QSettings settings(m_settingsPath, QSettings::IniFormat);
    QStringList ticked;
    for (const auto& [days, tick] : m_ticks)
        if (tick->isChecked()) ticked << QString::number(days);
    settings.setValue(kTicksKey, ticked.join(u' '));
    settings.setValue(kOtherAgeKey, m_otherAge->text().trimmed());
}

void AgeTicks::restore() {
    const QSettings settings(m_settingsPath, QSettings::IniFormat);
    const QStringList ticked = settings.value(kTicksKey).toString().split(u' ', Qt::SkipEmptyParts);
    for (const auto& [days, tick] : m_ticks)
        tick->setChecked(ticked.contains(QString::number(days)));
    m_otherAge->setText(settings.value(kOtherAgeKey).toString());
}
