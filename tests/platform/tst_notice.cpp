// The notice of QtMessageService: it returns at once as a non-modal box that is shown without
// activation and refuses the keyboard focus (the offscreen platform activates every window, so
// the focus itself is checked end to end), and a second notice replaces the text of one still on
// the screen instead of piling up boxes.

#include <QAbstractButton>
#include <QMessageBox>
#include <QPointer>
#include <QTest>

#include "platform/qtmessageservice.h"

namespace {

QList<QMessageBox*> shownBoxes() {
    QList<QMessageBox*> boxes;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) boxes << box;
    return boxes;
}

}  // namespace

class TestNotice : public QObject {
    Q_OBJECT
  private slots:
    void oneBoxThatNeverBlocks() {
        QtMessageService messages;
        messages.notify("错误提示", "第一次");
        messages.notify("错误提示", "第二次");
        QList<QMessageBox*> boxes = shownBoxes();
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0]->text(), QStringLiteral("第二次"));
        QCOMPARE(boxes[0]->windowTitle(), QStringLiteral("错误提示"));
        QVERIFY(!boxes[0]->isModal());
        QVERIFY(boxes[0]->testAttribute(Qt::WA_ShowWithoutActivating));
        QVERIFY(boxes[0]->windowFlags() & Qt::WindowDoesNotAcceptFocus);

        // Dismissed, it is gone; the next notice is a new box.
        const QPointer<QMessageBox> first = boxes[0];
        first->button(QMessageBox::Ok)->click();
        QTRY_VERIFY(!first);
        messages.notify("错误提示", "第三次");
        boxes = shownBoxes();
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0]->text(), QStringLiteral("第三次"));
    }
};

QTEST_MAIN(TestNotice)
#include "tst_notice.moc"
