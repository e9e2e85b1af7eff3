#include "settings/settingswindow.h"
#include "platform/programfont.h"
#include "platform/twips.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

#include "mainwindow/mainwindow.h"
#include "platform/messageservice.h"
#include "settings/autostart.h"
#include "settings/programsettings.h"
#include "settings/scaninterval.h"
#include "settings/settingstexts.h"

using namespace settingstexts;

namespace {

// Places a control at its designed rectangle, given in twips. A control whose text or frame needs
// more room than the design gives it (the font differs from system to system) grows to its size
// hint: down and up around the designed middle and, for labels and check boxes, to the right.
// The text box and the button keep their designed widths: their size hints ask for a standard
// width, which would run them into their neighbours or out of the frame.
enum class Grow { Height, HeightAndWidth };
void place(QWidget* widget, QRect designed, Grow grow = Grow::HeightAndWidth) {
    QRect r = twips::rect(designed.left(), designed.top(), designed.width(), designed.height());
    const QSize hint = widget->sizeHint();
    if (hint.height() > r.height()) {
        const int centre = r.top() + r.height() / 2;
        r.setTop(centre - hint.height() / 2);
        r.setHeight(hint.height());
    }
    if (grow == Grow::HeightAndWidth && hint.width() > r.width()) r.setWidth(hint.width());
    widget->setGeometry(r);
}

}  // namespace

SettingsWindow::SettingsWindow(MainWindow& owner, Autostart& autostart)
    : QWidget(&owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_owner(owner),
      m_autostart(autostart) {
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(kCaption);
    setWindowModality(Qt::ApplicationModal);
    setAttribute(Qt::WA_DeleteOnClose);
    const QFont controlFont = songtiFont(9);
    setFont(controlFont);
    // The designed window, 600 twips higher for the reminders' two settings below the others.
    setFixedSize(twips::toPixels(3375), twips::toPixels(1695 + 600));

    // The frame's bold title font is its own; the controls inside keep the window's font.
    auto* frame = new QGroupBox(kFrame, this);
    frame->setObjectName(QStringLiteral("Frame1"));
    QFont titleFont = songtiFont(12);
    titleFont.setBold(true);
    frame->setFont(titleFont);
    frame->setGeometry(twips::rect(120, 120, 3135, 1455 + 600));

    auto* label = new QLabel(kIntervalLabel, frame);
    label->setObjectName(QStringLiteral("Label1"));
    label->setFont(controlFont);
    place(label, {240, 435, 855, 255});

    // The settings last applied, kept from run to run.
    const ProgramSettings kept(owner.paths().settingsPath());
    m_interval = new QLineEdit(QString::number(kept.scanInterval()), frame);
    m_interval->setObjectName(QStringLiteral("Text1"));
    m_interval->setFont(controlFont);
    m_interval->setAccessibleName(kIntervalName);
    label->setBuddy(m_interval);
    place(m_interval, {1080, 435, 1215, 270}, Grow::Height);
    connect(m_interval, &QLineEdit::returnPressed, this, &SettingsWindow::apply);

    auto* unit = new QLabel(kMilliseconds, frame);
    unit->setObjectName(QStringLiteral("Label2"));
    unit->setFont(controlFont);
    place(unit, {2400, 450, 435, 255});

    m_autostartBox = new QCheckBox(kAutostart, frame);
    m_autostartBox->setObjectName(QStringLiteral("Check1"));
    m_autostartBox->setFont(controlFont);
    place(m_autostartBox, {360, 960, 1695, 180});
    connect(m_autostartBox, &QCheckBox::clicked, this, &SettingsWindow::autostartClicked);

    m_soundBox = new QCheckBox(kAlertSound, frame);
    m_soundBox->setObjectName(QStringLiteral("Check2"));
    m_soundBox->setFont(controlFont);
    m_soundBox->setChecked(kept.alertSound());
    place(m_soundBox, {360, 1380, 2500, 180});

    auto* before = new QLabel(kAdvanceBefore, frame);
    before->setObjectName(QStringLiteral("Label3"));
    before->setFont(controlFont);
    place(before, {360, 1725, 435, 255});
    m_advance = new QSpinBox(frame);
    m_advance->setObjectName(QStringLiteral("Text2"));
    m_advance->setFont(controlFont);
    m_advance->setAccessibleName(kAdvanceName);
    m_advance->setRange(0, ProgramSettings::kMaxAdvanceMinutes);
    m_advance->setValue(kept.advanceMinutes());
    before->setBuddy(m_advance);
    place(m_advance, {840, 1710, 735, 285}, Grow::Height);
    auto* after = new QLabel(kAdvanceAfter, frame);
    after->setObjectName(QStringLiteral("Label4"));
    after->setFont(controlFont);
    place(after, {1650, 1725, 1095, 255});

    auto* button = new QPushButton(kApply, frame);
    button->setObjectName(QStringLiteral("Command1"));
    button->setFont(controlFont);
    place(button, {2160, 840, 735, 375}, Grow::Height);
    button->setAutoDefault(true);  // Enter presses it when it has the focus
    connect(button, &QPushButton::clicked, this, &SettingsWindow::apply);

    showAutostartState();
}

QString SettingsWindow::intervalText() const {
    return m_interval->text();
}

void SettingsWindow::open() {
    showAutostartState();
    if (!m_placed) {
        // Over the middle of the main window the first time; later where the user left it.
        QRect r(QPoint(), size());
        r.moveCenter(m_owner.frameGeometry().center());
        move(r.topLeft());
        m_placed = true;
    }
    show();
    raise();
    activateWindow();
}

void SettingsWindow::apply() {
    const std::optional<int> interval = readScanInterval(m_interval->text());
    if (!interval) {
        m_owner.messages().show(kTitleNote, kIntervalOutOfRange.arg(kMaxScanIntervalMs),
                                MessageIcon::Warning);
        m_interval->setFocus();
        m_interval->selectAll();
        return;
    }
    m_owner.messages().show(kTitleNote, kLargeIntervalNote, MessageIcon::None);
    m_owner.setScanInterval(*interval);
    ProgramSettings kept(m_owner.paths().settingsPath());
    // 0 stops the scan for this run only: the next start scans again.
    if (*interval > 0) kept.setScanInterval(*interval);
    kept.setAlertSound(m_soundBox->isChecked());
    kept.setAdvanceMinutes(m_advance->value());
    m_owner.noteSettingsChanged();
    hide();
}

void SettingsWindow::autostartClicked(bool checked) {
    QString reason;
    if (!m_autostart.setEnabled(checked, &reason))
        m_owner.messages().show(kTitleNote,
                                (checked ? kAutostartNotSet : kAutostartNotCleared).arg(reason),
                                MessageIcon::Warning);
    showAutostartState();
}

void SettingsWindow::showAutostartState() {
    m_autostartBox->setChecked(m_autostart.isEnabled());
}

void SettingsWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape)
        close();
    else
        QWidget::keyPressEvent(event);
}

void SettingsWindow::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    if (event->isAccepted()) emit discarded();
}
