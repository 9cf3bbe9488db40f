#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <QWidget>

#include "up_down.h"

class UpDownTest : public QObject {
    Q_OBJECT

  private slots:
    void stepsStopAtTheEndsWithoutWrapping() {
        UpDown upDown;
        upDown.SetRange(-100, 100);
        upDown.SetPosition(99);
        QSignalSpy scrolled(&upDown, &UpDown::Scrolled);
        upDown.Step(+1);
        upDown.Step(+1);
        QCOMPARE(upDown.Position(), 100);
        // The step at the end still reports, with the position held.
        QCOMPARE(scrolled.count(), 2);
        QCOMPARE(scrolled.at(1).at(0).toInt(), UpDown::kThumbPosition);
        QCOMPARE(scrolled.at(1).at(1).toInt(), 100);

        upDown.SetPosition(-100);
        upDown.Step(-1);
        QCOMPARE(upDown.Position(), -100);
    }

    void positionIsClampedToTheRange() {
        UpDown upDown;
        upDown.SetRange(1, 100);
        upDown.SetPosition(0);
        QCOMPARE(upDown.Position(), 1);
        upDown.SetPosition(500);
        QCOMPARE(upDown.Position(), 100);
    }

    void arrowButtonsStepAndEndTheScroll() {
        QWidget window;
        auto* upDown = new UpDown(&window);
        upDown->setGeometry(0, 0, 16, 24);
        upDown->SetRange(1, 100);
        upDown->SetPosition(5);
        window.show();
        QSignalSpy scrolled(upDown, &UpDown::Scrolled);

        QTest::mouseClick(upDown->findChild<QToolButton*>(QStringLiteral("up")), Qt::LeftButton);
        QCOMPARE(upDown->Position(), 6);
        QTest::mouseClick(upDown->findChild<QToolButton*>(QStringLiteral("down")), Qt::LeftButton);
        QTest::mouseClick(upDown->findChild<QToolButton*>(QStringLiteral("down")), Qt::LeftButton);
        QCOMPARE(upDown->Position(), 4);

        QCOMPARE(scrolled.count(), 6);
        QCOMPARE(scrolled.at(0).at(0).toInt(), UpDown::kThumbPosition);
        QCOMPARE(scrolled.at(1).at(0).toInt(), UpDown::kEndScroll);
    }

    void buddyKeysStepButNeverWriteTheBuddy() {
        QWidget window;
        auto* buddy = new QLineEdit(&window);
        auto* upDown = new UpDown(&window);
        upDown->SetBuddy(buddy);
        upDown->SetRange(1, 100);
        upDown->SetPosition(1);
        buddy->setText(QStringLiteral("7"));
        window.show();
        QSignalSpy scrolled(upDown, &UpDown::Scrolled);

        QTest::keyClick(buddy, Qt::Key_Up);
        QTest::keyClick(buddy, Qt::Key_Up);
        QTest::keyClick(buddy, Qt::Key_Down);
        QCOMPARE(upDown->Position(), 2);
        QCOMPARE(buddy->text(), QStringLiteral("7"));
        QCOMPARE(scrolled.count(), 6);  // each key: a step, then the end of the scroll
        QCOMPARE(scrolled.at(4).at(1).toInt(), 2);

        QTest::keyClick(buddy, Qt::Key_5);
        QCOMPARE(buddy->text(), QStringLiteral("75"));
        QCOMPARE(upDown->Position(), 2);
    }
};

QTEST_MAIN(UpDownTest)
#include "up_down_test.moc"
