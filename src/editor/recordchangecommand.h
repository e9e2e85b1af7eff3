#pragma once
// One add, change or deletion of the editor on its undo stack. It is pushed once its change has
// reached a.bz; undoing it makes the inverse change, with the same lock, checks and care, and
// redoing it the change again. A step that cannot be made (a.bz unwritable, its record gone) is
// reported and leaves the stack, so the next 撤销 goes on with the step before it.

#include <QList>
#include <QUndoCommand>

#include "records/recordlinechanges.h"

class MessageService;
class QUndoStack;
class RecordChanger;

class RecordChangeCommand : public QUndoCommand {
  public:
    // `done`: the change as made; `inverse`: what undoes it.
    RecordChangeCommand(const QString& text, RecordChanger& changer, MessageService& messages,
                        QList<LineChange> done, QList<LineChange> inverse);

    void undo() override;
    void redo() override;

  private:
    // Makes `changes`; on success `opposite` becomes what undoes them.
    void make(QList<LineChange>& changes, QList<LineChange>& opposite, const QString& failure);

    RecordChanger& m_changer;
    MessageService& m_messages;
    QList<LineChange> m_redo;
    QList<LineChange> m_undo;
    bool m_pushed = false;  // the first redo(), on the push, has nothing to do
};

// Makes the changes in a.bz, with a busy cursor while it works, and once they are made puts them
// on the stack as one step named `step`. False, with the reason in *error, when they could not be
// made.
bool makeUndoableChange(QUndoStack& stack, const QString& step, RecordChanger& changer,
                        MessageService& messages, const QList<LineChange>& changes, QString* error);
