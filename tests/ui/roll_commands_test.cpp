#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTest>
#include <QTextEdit>

#include "clickable_icon.h"
#include "control_table.h"
#include "dialog_fixture.h"
#include "menu_table.h"
#include "up_down.h"

namespace id = control_id;

namespace {

QString ResultsText(DialogFixture& fixture) {
    return fixture.control<QTextEdit>(id::kResults)->toPlainText();
}

QString Header(DialogFixture& fixture) {
    return fixture.control<QLabel>(id::kHeader)->text();
}

QString CheckerLine(DialogFixture& fixture) {
    return fixture.control<QLabel>(id::kCheckerLine)->text();
}

void ClickButton(DialogFixture& fixture, int controlId) {
    QTest::mouseClick(fixture.control<QAbstractButton>(controlId), Qt::LeftButton);
}

void StepUpDown(DialogFixture& fixture, int upDownId, int delta) {
    fixture.control<UpDown>(upDownId)->Step(delta);
}

// Counts the stored totals that meet the target, the way a player would
// check them by hand.
int CountByHand(const alearo::RollState& state, int mode, int target) {
    int matches = 0;
    for (int k = 1; k <= state.m_nResultCount; ++k) {
        const int total = state.m_pTotals[static_cast<std::size_t>(k)];
        matches += (mode == 0 && total >= target) || (mode == 1 && total <= target) ||
                   (mode == 2 && total == target);
    }
    return matches;
}

}  // namespace

class RollCommandsTest : public QObject {
    Q_OBJECT

  private slots:
    void enterButtonIconAndMenuEachRoll() {
        DialogFixture fixture;
        fixture.type(id::kRolls, QStringLiteral("4"));
        QTest::keyClick(fixture.edit(id::kRolls), Qt::Key_Return);
        QCOMPARE(fixture.dialog().State().m_nResultCount, 4);
        QCOMPARE(ResultsText(fixture).split(QLatin1Char('\n')).size(), 4);
        QCOMPARE(Header(fixture), QStringLiteral("Results for (1d6)"));

        fixture.type(id::kRolls, QStringLiteral("2"));
        ClickButton(fixture, id::kRoll);
        QCOMPARE(fixture.dialog().State().m_nResultCount, 2);

        fixture.type(id::kRolls, QStringLiteral("3"));
        auto* icon = fixture.control<ClickableIcon>(id::kRollIcon);
        QTest::mouseClick(icon, Qt::LeftButton, {}, icon->rect().center());
        QCOMPARE(fixture.dialog().State().m_nResultCount, 3);

        fixture.type(id::kRolls, QStringLiteral("5"));
        fixture.command(command_id::kRoll);
        QCOMPARE(fixture.dialog().State().m_nResultCount, 5);
    }

    void rollShowsTheNumberedLinesAndTheDroppedDie() {
        DialogFixture fixture;
        fixture.command(command_id::kDropLowest);
        fixture.type(id::kRolls, QStringLiteral("10"));
        fixture.type(id::kDice, QStringLiteral("3"));
        ClickButton(fixture, id::kRoll);

        QCOMPARE(Header(fixture), QStringLiteral("Results for (3d6) - lowest roll"));
        const QStringList lines = ResultsText(fixture).split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 10);
        const QRegularExpression line(
            QStringLiteral(R"(^Result # {1,2}(\d{1,3}): {8,9}(\d{1,2}) \(([1-6]) drpd\)$)"));
        for (int k = 1; k <= 10; ++k) {
            const auto match = line.match(lines[k - 1]);
            QVERIFY2(match.hasMatch(), qPrintable(lines[k - 1]));
            QCOMPARE(match.captured(1).toInt(), k);
            const int total = match.captured(2).toInt();
            QVERIFY(total >= 2 && total <= 12);
            QCOMPARE(total, fixture.dialog().State().m_pTotals[static_cast<std::size_t>(k)]);
        }
        // The box shows the text the state holds, line ends and all.
        QCOMPARE(
            fixture.dialog().State().m_strResults,
            ResultsText(fixture).replace(QLatin1Char('\n'), QStringLiteral("\r\n")).toStdString());
    }

    void outOfRangeRollsAreReportedAndNothingIsRolled() {
        DialogFixture fixture;
        fixture.type(id::kRolls, QStringLiteral("3"));
        ClickButton(fixture, id::kRoll);
        const QString before = ResultsText(fixture);
        const auto totalsBefore = fixture.dialog().State().m_pTotals;

        fixture.command(command_id::kNoInstantUpdate);  // so that typing loads nothing
        fixture.type(id::kEachModifier, QStringLiteral("5"));
        fixture.type(id::kRolls, QStringLiteral("150"));
        ClickButton(fixture, id::kRoll);

        QCOMPARE(fixture.services.validationMessages,
                 QStringList{QStringLiteral("Please enter an integer between 1 and 100.")});
        QCOMPARE(QApplication::focusWidget(), fixture.dialog().GetDlgItem(id::kRolls));
        QCOMPARE(fixture.edit(id::kRolls)->selectedText(), QStringLiteral("150"));
        QCOMPARE(fixture.dialog().State().m_nRolls, std::int16_t{150});
        QCOMPARE(fixture.dialog().State().m_nEachModifier, std::int16_t{0});  // a later step
        QCOMPARE(fixture.dialog().State().m_nResultCount, std::int16_t{3});
        QCOMPARE(ResultsText(fixture), before);
        QCOMPARE(fixture.dialog().State().m_pTotals, totalsBefore);
    }

    void rollsAndDiceBoxesTakeOnlyDigits() {
        DialogFixture fixture;
        fixture.type(id::kRolls, QStringLiteral("-a1b2."));
        QCOMPARE(fixture.edit(id::kRolls)->text(), QStringLiteral("12"));
        fixture.type(id::kDice, QStringLiteral("x-9"));
        QCOMPARE(fixture.edit(id::kDice)->text(), QStringLiteral("9"));
        fixture.command(command_id::kNoInstantUpdate);  // a lone "-" would be reported at once
        fixture.type(id::kEachModifier, QStringLiteral("-9"));
        QCOMPARE(fixture.edit(id::kEachModifier)->text(), QStringLiteral("-9"));
    }

    void instantUpdateFollowsTheDiceAndModifierBoxesOnly() {
        DialogFixture fixture;
        fixture.type(id::kDice, QStringLiteral("3"));
        QCOMPARE(Header(fixture), QStringLiteral("Results for (3d6)"));
        fixture.type(id::kEachModifier, QStringLiteral("2"));
        QCOMPARE(Header(fixture), QStringLiteral("(3d6+2)"));
        fixture.type(id::kTotalModifier, QStringLiteral("5"));
        QCOMPARE(Header(fixture), QStringLiteral("(3d6+2) + 5"));
        QTest::keyClick(fixture.edit(id::kTotalModifier), Qt::Key_Home);
        QTest::keyClick(fixture.edit(id::kTotalModifier), Qt::Key_Minus);
        QCOMPARE(Header(fixture), QStringLiteral("(3d6+2)  -5"));
        fixture.type(id::kRolls, QStringLiteral("9"));
        QCOMPARE(Header(fixture), QStringLiteral("(3d6+2)  -5"));
        QCOMPARE(fixture.dialog().State().m_nRolls, std::int16_t{1});  // no transfer happened

        fixture.command(command_id::kNoInstantUpdate);
        fixture.type(id::kDice, QStringLiteral("4"));
        QCOMPARE(Header(fixture), QStringLiteral("(3d6+2)  -5"));
        QTest::mouseClick(fixture.control<QRadioButton>(1013), Qt::LeftButton);
        QCOMPARE(Header(fixture), QStringLiteral("(4d20+2)  -5"));
        QVERIFY(fixture.services.validationMessages.isEmpty());
    }

    void aLoneMinusIsReportedAtOnceWhileInstantUpdateIsOn() {
        DialogFixture fixture;
        fixture.type(id::kEachModifier, QStringLiteral("-"));
        QCOMPARE(fixture.services.validationMessages,
                 QStringList{QStringLiteral("Please enter an integer.")});
        QCOMPARE(fixture.edit(id::kEachModifier)->selectedText(), QStringLiteral("-"));
        QCOMPARE(Header(fixture), QStringLiteral("Results for (1d6)"));

        fixture.command(command_id::kNoInstantUpdate);
        fixture.type(id::kEachModifier, QStringLiteral("-"));
        QCOMPARE(fixture.services.validationMessages.size(), 1);
    }

    void stepsOfTheDiceArrowsRefreshTheHeaderOnlyWithInstantUpdate() {
        DialogFixture fixture;
        StepUpDown(fixture, id::kDiceUpDown, +1);
        QCOMPARE(fixture.edit(id::kDice)->text(), QStringLiteral("2"));
        QCOMPARE(fixture.dialog().State().m_nDice, std::int16_t{2});
        QCOMPARE(Header(fixture), QStringLiteral("Results for (2d6)"));

        StepUpDown(fixture, id::kRollsUpDown, +1);
        QCOMPARE(fixture.edit(id::kRolls)->text(), QStringLiteral("2"));
        QCOMPARE(fixture.dialog().State().m_nRolls, std::int16_t{2});
        QCOMPARE(Header(fixture), QStringLiteral("Results for (2d6)"));

        StepUpDown(fixture, id::kEachModifierUpDown, -1);
        QCOMPARE(fixture.edit(id::kEachModifier)->text(), QStringLiteral("-1"));
        QCOMPARE(fixture.dialog().State().m_nEachModifier, std::int16_t{-1});
        QCOMPARE(Header(fixture), QStringLiteral("(2d6-1)"));

        fixture.command(command_id::kNoInstantUpdate);
        StepUpDown(fixture, id::kDiceUpDown, +1);
        QCOMPARE(fixture.edit(id::kDice)->text(), QStringLiteral("3"));
        QCOMPARE(fixture.dialog().State().m_nDice, std::int16_t{3});
        QCOMPARE(Header(fixture), QStringLiteral("(2d6-1)"));
    }

    void arrowsContinueFromTheirOwnPositionAndStopAtTheEnds() {
        DialogFixture fixture;
        fixture.type(id::kRolls, QStringLiteral("7"));
        QTest::keyClick(fixture.edit(id::kRolls), Qt::Key_Up);
        QCOMPARE(fixture.edit(id::kRolls)->text(), QStringLiteral("2"));

        for (int i = 0; i < 120; ++i) {
            StepUpDown(fixture, id::kDiceUpDown, +1);
        }
        QCOMPARE(fixture.edit(id::kDice)->text(), QStringLiteral("100"));
        for (int i = 0; i < 120; ++i) {
            StepUpDown(fixture, id::kDiceUpDown, -1);
        }
        QCOMPARE(fixture.edit(id::kDice)->text(), QStringLiteral("1"));
        for (int i = 0; i < 120; ++i) {
            StepUpDown(fixture, id::kTotalModifierUpDown, -1);
        }
        QCOMPARE(fixture.edit(id::kTotalModifier)->text(), QStringLiteral("-100"));
        for (int i = 0; i < 220; ++i) {
            StepUpDown(fixture, id::kTotalModifierUpDown, +1);
        }
        QCOMPARE(fixture.edit(id::kTotalModifier)->text(), QStringLiteral("100"));
        QVERIFY(fixture.services.validationMessages.isEmpty());
    }

    void checkerCountsTheTotalsInEachModeAndRollsRefreshIt() {
        DialogFixture fixture;
        fixture.type(id::kRolls, QStringLiteral("40"));
        fixture.type(id::kDice, QStringLiteral("2"));
        ClickButton(fixture, id::kRoll);
        QCOMPARE(CheckerLine(fixture), QString());

        fixture.type(id::kCheckTarget, QStringLiteral("7"));
        const struct {
            int radio;
            int mode;
            const char* prefix;
        } modes[] = {{id::kGreaterThan, 0, "Rolls greater or equal to 7: "},
                     {id::kLessThan, 1, "Rolls less or equal to 7: "},
                     {id::kEqualTo, 2, "Rolls equal to 7: "}};
        for (const auto& m : modes) {
            QTest::mouseClick(fixture.control<QRadioButton>(m.radio), Qt::LeftButton);
            const int expected = CountByHand(fixture.dialog().State(), m.mode, 7);
            QCOMPARE(CheckerLine(fixture),
                     QString::fromLatin1(m.prefix) + QStringLiteral("%1").arg(expected, 4));
            QCOMPARE(fixture.dialog().State().m_nMatchCount, expected);
        }

        fixture.type(id::kCheckTarget, QStringLiteral("12"));
        ClickButton(fixture, id::kCheck);
        QCOMPARE(CheckerLine(fixture), QStringLiteral("Rolls equal to 12: %1")
                                           .arg(CountByHand(fixture.dialog().State(), 2, 12), 4));

        ClickButton(fixture, id::kRoll);
        QCOMPARE(CheckerLine(fixture), QStringLiteral("Rolls equal to 12: %1")
                                           .arg(CountByHand(fixture.dialog().State(), 2, 12), 4));
    }

    void clearEntriesResetsTheFormButKeepsDieModeAndOptions() {
        DialogFixture fixture;
        QTest::mouseClick(fixture.control<QRadioButton>(1011), Qt::LeftButton);
        fixture.command(command_id::kDropLowest);
        fixture.type(id::kRolls, QStringLiteral("6"));
        fixture.type(id::kDice, QStringLiteral("4"));
        fixture.type(id::kEachModifier, QStringLiteral("3"));
        fixture.type(id::kTotalModifier, QStringLiteral("-2"));
        fixture.type(id::kCheckTarget, QStringLiteral("20"));
        QTest::mouseClick(fixture.control<QRadioButton>(id::kLessThan), Qt::LeftButton);
        ClickButton(fixture, id::kRoll);

        ClickButton(fixture, id::kClear);
        QCOMPARE(Header(fixture), QStringLiteral("Entries cleared."));
        QCOMPARE(fixture.edit(id::kRolls)->text(), QStringLiteral("1"));
        QCOMPARE(fixture.edit(id::kDice)->text(), QStringLiteral("1"));
        QCOMPARE(fixture.edit(id::kEachModifier)->text(), QStringLiteral("0"));
        QCOMPARE(fixture.edit(id::kTotalModifier)->text(), QStringLiteral("0"));
        QCOMPARE(fixture.edit(id::kCheckTarget)->text(), QStringLiteral("0"));
        QCOMPARE(ResultsText(fixture), QString());
        QCOMPARE(CheckerLine(fixture), QString());
        QVERIFY(fixture.control<QRadioButton>(1011)->isChecked());
        QVERIFY(fixture.control<QRadioButton>(id::kLessThan)->isChecked());
        QVERIFY(fixture.dialog().MenuCommand(command_id::kDropLowest)->isChecked());
        QCOMPARE(fixture.dialog().State().m_nResultCount, std::int16_t{0});

        fixture.command(command_id::kRoll);  // from the menu, after clearing
        QCOMPARE(fixture.dialog().State().m_nResultCount, std::int16_t{1});
        QCOMPARE(Header(fixture), QStringLiteral("Results for (1d10)"));
    }

    void enterInTheResultsBoxBreaksTheLineInsteadOfRolling() {
        DialogFixture fixture;
        auto* box = fixture.control<QTextEdit>(id::kResults);
        box->setFocus();
        QTest::keyClicks(box, QStringLiteral("note"));
        QTest::keyClick(box, Qt::Key_Return);
        QTest::keyClicks(box, QStringLiteral("more"));
        QCOMPARE(fixture.dialog().State().m_nResultCount, std::int16_t{0});
        QCOMPARE(box->toPlainText(), QStringLiteral("note\nmore"));

        ClickButton(fixture, id::kCheck);  // any transfer loads the typed text
        QCOMPARE(fixture.dialog().State().m_strResults, std::string("note\r\nmore"));
        ClickButton(fixture, id::kRoll);
        QVERIFY(!box->toPlainText().contains(QStringLiteral("note")));
    }
};

QTEST_MAIN(RollCommandsTest)
#include "roll_commands_test.moc"
