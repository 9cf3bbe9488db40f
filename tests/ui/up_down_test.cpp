#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

#include "up_down.h"

class UpDownTest : public QObject {
    Q_OBJECT

  private slots:
    void stepsStopAtTheEndsAndStillReport() {
        UpDown upDown;
        upDown.SetRange(-100, 100);
        upDown.SetPosition(500);
        QCOMPARE(upDown.Position(), 100);
        QSignalSpy scrolled(&upDown, &UpDown::Scrolled);
        upDown.Step(+1);
        QCOMPARE(upDown.Position(), 100);
        QCOMPARE(scrolled.size(), 1);
        QCOMPARE(scrolled[0], (QVariantList{UpDown::kThumbPosition, 100}));
        upDown.SetPosition(-100);
        upDown.Step(-1);
        QCOMPARE(upDown.Position(), -100);
    }

    void arrowsAndBuddyKeysStepWithoutWritingTheBuddy() {
        QWidget window;
        auto* buddy = new QLineEdit(&window);
        auto* upDown = new UpDown(&window);
        upDown->setGeometry(100, 0, 16, 24);
        upDown->SetBuddy(buddy);
        upDown->SetRange(1, 100);
        upDown->SetPosition(1);
        buddy->setText(QStringLiteral("7"));
        window.show();
        QSignalSpy scrolled(upDown, &UpDown::Scrolled);

        QTest::keyClick(buddy, Qt::Key_Up);
        QTest::keyClick(buddy, Qt::Key_Up);
        QTest::mouseClick(upDown->findChild<QToolButton*>(QStringLiteral("down")), Qt::LeftButton);
        QCOMPARE(upDown->Position(), 2);
        QCOMPARE(buddy->text(), QStringLiteral("7"));
        // Each key or click: a step, then the end of the scroll.
        QCOMPARE(scrolled.size(), 6);
        QCOMPARE(scrolled[4], (QVariantList{UpDown::kThumbPosition, 2}));
        QCOMPARE(scrolled[5][0].toInt(), UpDown::kEndScroll);
        QTest::mouseClick(upDown->findChild<QToolButton*>(QStringLiteral("up")), Qt::LeftButton);
        QCOMPARE(upDown->Position(), 3);
    }

    void aHeldArrowStopsWhenAnotherWindowBlocksItsOwn() {
        QWidget window;
        auto* upDown = new UpDown(&window);
        upDown->setGeometry(0, 0, 16, 24);
        upDown->SetRange(1, 100);
        window.show();
        auto* up = upDown->findChild<QToolButton*>(QStringLiteral("up"));
        QTest::mousePress(up, Qt::LeftButton);
        QCOMPARE(upDown->Position(), 2);      // the first step comes with the press
        QTRY_VERIFY(upDown->Position() > 3);  // held: it repeats
        QEvent blocked(QEvent::WindowBlocked);
        QApplication::sendEvent(&window, &blocked);
        const int held = upDown->Position();
        QTest::qWait(3 * up->autoRepeatInterval() + up->autoRepeatDelay());
        QCOMPARE(upDown->Position(), held);
        QVERIFY(!up->isDown());
    }
};

QTEST_MAIN(UpDownTest)
#include "up_down_test.moc"
