// SPDX-License-Identifier: MIT
// The statistics window's sentences, from chances and counts given here.
#include <QTest>

#include "stats/checker_chance.h"
#include "ui/model/chance_sentences.h"

namespace alearo {

class ChanceSentencesTest : public QObject {
    Q_OBJECT

  private slots:
    void checkerSentencesGiveTheTailOnTheSideOfTheCount() {
        const struct {
            CheckMode mode;
            int target, matches;
            const char* forecast;
            const char* outcome;
        } cases[] = {
            // One d20, 20 rolls.
            {CheckMode::kAtLeast, 15, 12,
             "Chance that one roll reaches 15: 30.0%; expected 6.0 of 20 rolls.",
             "12 of 20 rolls reached 15; expected 6.0; 12 or more happens 0.514% of the time."},
            {CheckMode::kAtMost, 3, 20,
             "Chance that one roll stays at or below 3: 15.0%; expected 3.0 of 20 rolls.",
             "20 of 20 rolls stayed at or below 3; expected 3.0; 20 of 20 happens 3.33e-15% of "
             "the time."},
            {CheckMode::kAtMost, 8, 5,
             "Chance that one roll stays at or below 8: 40.0%; expected 8.0 of 20 rolls.",
             "5 of 20 rolls stayed at or below 8; expected 8.0; 5 or fewer happens 12.6% of the "
             "time."},
            {CheckMode::kEqual, 7, 0,
             "Chance that one roll comes out exactly 7: 5.0%; expected 1.0 of 20 rolls.",
             "0 of 20 rolls came out exactly 7; expected 1.0; 0 of 20 happens 35.8% of the time."},
            {CheckMode::kNone, 7, 3, "", ""},
        };
        const TotalDistribution d20 = ComputeDistribution({1, 20, 0, 0, false, false});
        for (const auto& c : cases) {
            const Checker checker{c.mode, c.target};
            const dice::Chance chance = CheckerChance(d20, checker).value_or(0.0L);
            QCOMPARE(Forecast(checker, chance, d20.relativeError, 20),
                     QString::fromUtf8(c.forecast));
            QCOMPARE(CheckOutcome(checker, static_cast<double>(chance), 20, c.matches),
                     QString::fromUtf8(c.outcome));
        }
    }

    void fitSentenceGroupsFromTheLowEndAndMergesAShortLastGroup() {
        // 40 rolls of 2d6 form the groups 2-4, 5-6, 7, 8 and 9-12: the last
        // four totals expect under 5 and join the group before.
        const TotalDistribution two = ComputeDistribution({2, 6, 0, 0, false, false});
        const std::vector<int> totals = {2, 3, 3, 4, 4, 4,  5,  5,  5,  5,  5,  6, 6, 6,
                                         6, 6, 6, 7, 7, 7,  7,  7,  7,  7,  8,  8, 8, 8,
                                         8, 9, 9, 9, 9, 10, 10, 10, 11, 11, 12, 12};
        QCOMPARE(FitSentence(TestFit(two, totals)),
                 "The totals fit the chances of this roll (chi-square 0.24, 4 degrees of "
                 "freedom, p = 0.99).");
        QCOMPARE(FitSentence(TestFit(two, std::vector<int>(40, 12))),
                 "The totals differ from the chances of this roll more than luck usually explains "
                 "(chi-square 104.00, 4 degrees of freedom, p < 0.001).");
        const TotalDistribution twoD4 = ComputeDistribution({2, 4, 0, 0, false, false});
        QCOMPARE(FitSentence(TestFit(twoD4, std::vector<int>(13, 5))),
                 "Too few rolls to test fairness: at least 14 are needed.");
        // With just enough rolls for two groups, one degree of freedom.
        QVERIFY(FitSentence(TestFit(twoD4, std::vector<int>(14, 5)))
                    .contains(QLatin1String(", 1 degree of freedom, p = ")));
        // Below the line of fairness a p-value keeps the digits that show it.
        QVERIFY(FitSentence(
                    TestFit(twoD4, {5, 5, 5, 5, 5, 5, 5, 5, 5, 4, 5, 6, 7, 8, 2, 3, 4, 5, 6, 7}))
                    .contains(QLatin1String("p = 0.0080).")));
        QCOMPARE(FitSentence(TestFit(twoD4, {5, 1, 9})),
                 "2 totals cannot come from this roll, so these totals were not rolled with it.");
        QCOMPARE(FitSentence(TestFit(ComputeDistribution({3, 6, -9, 0, true, false}), {3})),
                 "Every roll of this kind gives the same total, so there is nothing to test.");
    }
};

}  // namespace alearo

QTEST_GUILESS_MAIN(alearo::ChanceSentencesTest)
#include "chance_sentences_test.moc"
