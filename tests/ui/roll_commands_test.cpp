#include <QLabel>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTextEdit>

#include "clickable_icon.h"
#include "control_table.h"
#include "dialog_fixture.h"
#include "menu_table.h"
#include "up_down.h"

namespace id = control_id;

class RollCommandsTest : public QObject {
    Q_OBJECT

    static QString Header(DialogFixture& f) { return f.control<QLabel>(id::kHeader)->text(); }
    static QString Results(DialogFixture& f) {
        return f.control<QTextEdit>(id::kResults)->toPlainText();
    }
    static int Count(DialogFixture& f) { return f.dialog().State().m_nResultCount; }

  private slots:
    void enterButtonIconAndMenuEachRoll() {
        DialogFixture f;
        QCOMPARE(QApplication::focusWidget(), &f.dialog());  // no box has the focus at first
        QTest::keyClick(&f.dialog(), Qt::Key_Up);
        QTest::keyClick(&f.dialog(), Qt::Key_Return);
        QCOMPARE(Count(f), 1);
        QCOMPARE(f.edit(id::kRolls)->text(), QStringLiteral("1"));
        f.type(id::kRolls, QStringLiteral("4"));
        QTest::keyClick(f.edit(id::kRolls), Qt::Key_Return);
        QCOMPARE(Count(f), 4);
        QCOMPARE(Header(f), QStringLiteral("Results for (1d6)"));
        f.type(id::kRolls, QStringLiteral("2"));
        f.click(id::kRoll);
        QCOMPARE(Count(f), 2);
        f.type(id::kRolls, QStringLiteral("3"));
        f.click(id::kRollIcon);
        QCOMPARE(Count(f), 3);
        // The second half of a double-click on the picture does not roll again.
        f.type(id::kRolls, QStringLiteral("6"));
        QTest::mouseDClick(f.dialog().GetDlgItem(id::kRollIcon), Qt::LeftButton);
        QTest::mouseRelease(f.dialog().GetDlgItem(id::kRollIcon), Qt::LeftButton);
        QCOMPARE(Count(f), 3);
        f.type(id::kRolls, QStringLiteral("5"));
        f.command(command_id::kRoll);
        QCOMPARE(Count(f), 5);
    }

    void rollShowsNumberedLinesWithTheDroppedDie() {
        DialogFixture f;
        f.command(command_id::kDropLowest);
        f.type(id::kRolls, QStringLiteral("10"));
        f.type(id::kDice, QStringLiteral("3"));
        f.click(id::kRoll);
        QCOMPARE(Header(f), QStringLiteral("Results for (3d6) - lowest roll"));
        const QStringList lines = Results(f).split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 10);
        const QRegularExpression format(
            QStringLiteral(R"(^Result # {1,2}(\d+): +(\d+) \([1-6] drpd\)$)"));
        for (int k = 1; k <= 10; ++k) {
            const auto match = format.match(lines[k - 1]);
            QVERIFY2(match.hasMatch(), qPrintable(lines[k - 1]));
            QCOMPARE(match.captured(1).toInt(), k);
            QCOMPARE(match.captured(2).toInt(), f.dialog().State().m_pTotals[std::size_t(k)]);
        }
    }

    void outOfRangeRollsAreReportedAndNothingIsRolled() {
        DialogFixture f;
        f.type(id::kRolls, QStringLiteral("3"));
        f.click(id::kRoll);
        const QString before = Results(f);
        f.command(command_id::kNoInstantUpdate);  // so that typing loads nothing
        f.type(id::kEachModifier, QStringLiteral("5"));
        f.type(id::kRolls, QStringLiteral("150"));
        f.click(id::kRoll);
        QCOMPARE(f.services.validationMessages,
                 QStringList{QStringLiteral("Please enter an integer between 1 and 100.")});
        QCOMPARE(QApplication::focusWidget(), f.dialog().GetDlgItem(id::kRolls));
        QCOMPARE(f.edit(id::kRolls)->selectedText(), QStringLiteral("150"));
        QCOMPARE(f.dialog().State().m_nRolls, std::int16_t{150});
        QCOMPARE(f.dialog().State().m_nEachModifier, std::int16_t{0});  // a later step
        QCOMPARE(Count(f), 3);
        QCOMPARE(Results(f), before);
    }

    void numberBoxesFilterAndReportWhatIsTyped() {
        DialogFixture f;
        f.type(id::kRolls, QStringLiteral("-a1b2."));
        QCOMPARE(f.edit(id::kRolls)->text(), QStringLiteral("12"));
        // With instant update on, a lone minus is reported at once and selected.
        f.type(id::kEachModifier, QStringLiteral("-"));
        QCOMPARE(f.services.validationMessages,
                 QStringList{QStringLiteral("Please enter an integer.")});
        QCOMPARE(f.edit(id::kEachModifier)->selectedText(), QStringLiteral("-"));
        f.command(command_id::kNoInstantUpdate);
        f.type(id::kEachModifier, QStringLiteral("-9"));
        QCOMPARE(f.edit(id::kEachModifier)->text(), QStringLiteral("-9"));
        QCOMPARE(f.services.validationMessages.size(), 1);
    }

    void instantUpdateFollowsDiceAndModifiersOnly() {
        DialogFixture f;
        f.type(id::kDice, QStringLiteral("3"));
        f.type(id::kEachModifier, QStringLiteral("2"));
        f.type(id::kTotalModifier, QStringLiteral("5"));
        QCOMPARE(Header(f), QStringLiteral("(3d6+2) + 5"));
        QTest::keyClick(f.edit(id::kTotalModifier), Qt::Key_Home);
        QTest::keyClick(f.edit(id::kTotalModifier), Qt::Key_Minus);
        QCOMPARE(Header(f), QStringLiteral("(3d6+2)  -5"));
        f.type(id::kRolls, QStringLiteral("9"));
        QCOMPARE(f.dialog().State().m_nRolls, std::int16_t{1});  // no transfer happened

        f.command(command_id::kNoInstantUpdate);
        f.type(id::kDice, QStringLiteral("4"));
        QCOMPARE(Header(f), QStringLiteral("(3d6+2)  -5"));
        f.click(1013);  // a die-type choice rebuilds the header all the same
        QCOMPARE(Header(f), QStringLiteral("(4d20+2)  -5"));
    }

    void arrowStepsWriteTheBoxAndRefreshTheHeaderOnlyWithInstantUpdate() {
        DialogFixture f;
        f.step(id::kDiceUpDown, +1);
        QCOMPARE(f.edit(id::kDice)->text(), QStringLiteral("2"));
        QCOMPARE(Header(f), QStringLiteral("Results for (2d6)"));
        f.step(id::kRollsUpDown, +1);
        QCOMPARE(f.dialog().State().m_nRolls, std::int16_t{2});
        f.step(id::kEachModifierUpDown, -1);
        QCOMPARE(f.edit(id::kEachModifier)->text(), QStringLiteral("-1"));
        QCOMPARE(Header(f), QStringLiteral("(2d6-1)"));

        f.command(command_id::kNoInstantUpdate);
        f.step(id::kDiceUpDown, +1);
        QCOMPARE(f.dialog().State().m_nDice, std::int16_t{3});
        QCOMPARE(Header(f), QStringLiteral("(2d6-1)"));
    }

    void arrowsContinueFromTheirOwnPositionAndStopAtTheEnds() {
        DialogFixture f;
        f.type(id::kRolls, QStringLiteral("7"));
        QTest::keyClick(f.edit(id::kRolls), Qt::Key_Up);
        QCOMPARE(f.edit(id::kRolls)->text(), QStringLiteral("2"));
        const struct {
            int upDown, box, steps;
            const char* shown;
        } ends[] = {{id::kDiceUpDown, id::kDice, 120, "100"},
                    {id::kDiceUpDown, id::kDice, -120, "1"},
                    {id::kTotalModifierUpDown, id::kTotalModifier, -120, "-100"},
                    {id::kTotalModifierUpDown, id::kTotalModifier, 220, "100"}};
        for (const auto& end : ends) {
            for (int i = 0; i < std::abs(end.steps); ++i) {
                f.step(end.upDown, end.steps > 0 ? +1 : -1);
            }
            QCOMPARE(f.edit(end.box)->text(), QString::fromLatin1(end.shown));
        }
        QVERIFY(f.services.validationMessages.isEmpty());
    }

    void checkerCountsEachModeAndRollsRefreshIt() {
        DialogFixture f;
        f.type(id::kRolls, QStringLiteral("40"));
        f.type(id::kDice, QStringLiteral("2"));
        f.click(id::kRoll);
        QCOMPARE(f.control<QLabel>(id::kCheckerLine)->text(), QString());
        // The count a player would make by hand over the stored totals.
        auto expectedLine = [&f](const char* prefix, int mode, int target) {
            int n = 0;
            for (int k = 1; k <= Count(f); ++k) {
                const int total = f.dialog().State().m_pTotals[std::size_t(k)];
                n += (mode == 0 && total >= target) || (mode == 1 && total <= target) ||
                     (mode == 2 && total == target);
            }
            return QStringLiteral("%1%2: %3").arg(QLatin1String(prefix)).arg(target).arg(n, 4);
        };
        f.type(id::kCheckTarget, QStringLiteral("7"));
        f.click(id::kGreaterThan);
        QCOMPARE(f.control<QLabel>(id::kCheckerLine)->text(),
                 expectedLine("Rolls greater or equal to ", 0, 7));
        f.click(id::kLessThan);
        QCOMPARE(f.control<QLabel>(id::kCheckerLine)->text(),
                 expectedLine("Rolls less or equal to ", 1, 7));
        f.click(id::kEqualTo);
        QCOMPARE(f.control<QLabel>(id::kCheckerLine)->text(),
                 expectedLine("Rolls equal to ", 2, 7));
        f.type(id::kCheckTarget, QStringLiteral("12"));
        f.click(id::kCheck);
        QCOMPARE(f.control<QLabel>(id::kCheckerLine)->text(),
                 expectedLine("Rolls equal to ", 2, 12));
        f.click(id::kRoll);
        QCOMPARE(f.control<QLabel>(id::kCheckerLine)->text(),
                 expectedLine("Rolls equal to ", 2, 12));
    }

    void clearEntriesResetsTheFormButKeepsDieModeAndOptions() {
        DialogFixture f;
        f.click(1011);
        f.command(command_id::kDropLowest);
        for (const int box :
             {id::kRolls, id::kDice, id::kEachModifier, id::kTotalModifier, id::kCheckTarget}) {
            f.type(box, QStringLiteral("6"));
        }
        f.click(id::kLessThan);
        f.click(id::kRoll);
        f.click(id::kClear);
        QCOMPARE(Header(f), QStringLiteral("Entries cleared."));
        QStringList boxes;
        for (const int box :
             {id::kRolls, id::kDice, id::kEachModifier, id::kTotalModifier, id::kCheckTarget}) {
            boxes << f.edit(box)->text();
        }
        QCOMPARE(boxes, (QStringList{"1", "1", "0", "0", "0"}));
        QCOMPARE(Results(f), QString());
        QCOMPARE(f.control<QLabel>(id::kCheckerLine)->text(), QString());
        QVERIFY(f.control<QRadioButton>(1011)->isChecked());
        QVERIFY(f.control<QRadioButton>(id::kLessThan)->isChecked());
        QVERIFY(f.dialog().MenuCommand(command_id::kDropLowest)->isChecked());
        QCOMPARE(Count(f), 0);
    }

    void typedResultsTextIsLoadedAndEnterBreaksTheLine() {
        DialogFixture f;
        auto* box = f.control<QTextEdit>(id::kResults);
        box->setFocus();
        QTest::keyClicks(box, QStringLiteral("note"));
        QTest::keyClick(box, Qt::Key_Return);
        QTest::keyClicks(box, QStringLiteral("more"));
        QCOMPARE(Count(f), 0);
        f.click(id::kCheck);  // any transfer loads the typed text
        QCOMPARE(f.dialog().State().m_strResults, std::string("note\r\nmore"));
        f.click(id::kRoll);
        QVERIFY(!Results(f).contains(QStringLiteral("note")));
    }
};

QTEST_MAIN(RollCommandsTest)
#include "roll_commands_test.moc"
