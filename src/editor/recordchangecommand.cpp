#include "editor/recordchangecommand.h"

#include <QUndoStack>
#include "editor/editortexts.h"

#include "editor/recordchanger.h"
#include "platform/busycursor.h"
#include "platform/messageservice.h"

using namespace editortexts;

RecordChangeCommand::RecordChangeCommand(const QString& text, RecordChanger& changer,
                                         MessageService& messages, QList<LineChange> done,
                                         QList<LineChange> inverse)
    : QUndoCommand(text),
      m_changer(changer),
      m_messages(messages),
      m_redo(std::move(done)),
      m_undo(std::move(inverse)) {}

void RecordChangeCommand::undo() {
    make(m_undo, m_redo, kUndoFailed);
}

void RecordChangeCommand::redo() {
    if (!m_pushed) {
        m_pushed = true;
        return;
    }
    make(m_redo, m_undo, kRedoFailed);
}

void RecordChangeCommand::make(QList<LineChange>& changes, QList<LineChange>& opposite,
                               const QString& failure) {
    QString error;
    const auto inverse = m_changer.apply(changes, RecordFileChange::Backup::FirstOfTheDay, &error);
    if (!inverse) {
        setObsolete(true);
        m_messages.show(kTitleError, failure.arg(text(), error), MessageIcon::Warning);
        return;
    }
    opposite = *inverse;
}

bool makeUndoableChange(QUndoStack& stack, const QString& step, RecordChanger& changer,
                        MessageService& messages, const QList<LineChange>& changes,
                        QString* error) {
    const auto inverse = [&] {
        const BusyCursor busy;  // a long file takes a moment to write
        return changer.apply(changes, RecordFileChange::Backup::FirstOfTheDay, error);
    }();
    if (!inverse) return false;
    stack.push(new RecordChangeCommand(step, changer, messages, changes, *inverse));
    return true;
}
