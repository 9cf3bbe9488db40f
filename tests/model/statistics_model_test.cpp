// SPDX-License-Identifier: MIT
// The statistics window's model comparing the form's roll with a typed
// expression, against chances counted by hand.
#include <QTest>
#include <functional>

#include "await_chances.h"
#include "ui/model/roller_model.h"
#include "ui/model/statistics_model.h"

namespace alearo {

class StatisticsModelTest : public QObject {
    Q_OBJECT

  private slots:
    void comparesTheFormWithATypedExpression() {
        RollerModel roller;  // one d6
        StatisticsModel stats(roller);
        const auto compare = [&stats](const char* typed) {
            stats.setComparisonText(QString::fromUtf8(typed));
            AwaitChances();
        };
        roller.chooseCheckMode(CheckMode::kAtLeast);
        roller.setEntryText(RollerModel::Entry::kCheckTarget, QStringLiteral("10"));
        compare(" 3D6 ");
        QCOMPARE(stats.comparisonError(), QString());
        // The d6 beats 3 (1 way of 216) with 4 to 6, 4 (3 ways) with 5 or
        // 6, and 5 (6 ways) with a 6: 15 of 1,296; it ties 3 to 6 in 1 + 3 +
        // 6 + 10 ways: 20 of 1,296.
        QCOMPARE(stats.comparisonSummary(),
                 "3d6: Lowest 3, highest 18, mean 10.50, standard deviation 2.96, median 10, "
                 "most likely 10 and 11. The roll vs 3d6: wins 1.16%, ties 1.54%, loses 97.30%.");
        // 135 of the 216 ways three dice fall reach 10.
        QVERIFY2(stats.checkerChance().endsWith(QLatin1String(" With 3d6: 62.5%.")),
                 qPrintable(stats.checkerChance()));
        QCOMPARE(stats.chart().comparedName, QStringLiteral("3d6"));
        // The compared line starts at its own lowest total, not the form's.
        QCOMPARE(stats.chart().firstTotal, 1);
        QCOMPARE(stats.chart().comparedFirstTotal, 3);

        // A target for the form's roll alone, or with the compared roll's
        // own: 56 of the 216 ways three dice fall stay at 8 or less.
        for (const auto& [typed, summary] : std::vector<std::pair<const char*, const char*>>{
                 {"vs 4", "The roll vs 4: hits 50.00%, misses 50.00%."},
                 {"VS>4", "The roll vs >4: hits 33.33%, misses 66.67%."},
                 {"vs =7", "The roll vs =7: hits 0%, misses 100%."},
                 {"3d6 vs <=8",
                  "3d6: Lowest 3, highest 18, mean 10.50, standard deviation 2.96, median 10, "
                  "most likely 10 and 11. The roll vs <=8: hits 100%, misses 0%. 3d6 vs <=8: "
                  "hits 25.93%, misses 74.07%."}}) {
            compare(typed);
            QCOMPARE(stats.comparisonSummary(), QString::fromUtf8(summary));
        }
        compare("vs");
        QVERIFY(stats.comparisonError().startsWith(QLatin1String("Column 3: ")));
        QVERIFY(
            stats.tableText().endsWith(QLatin1String("\n\nOutcome\tChance\nhit\t1\nmiss\t0\n")));
        compare(" 3D6 ");

        // Rows over both rolls: 1 to 18. Where one roll cannot reach, its
        // chance is 0, at least 1 below and 0 above, at most the other way.
        // Then the odds of the d6 against 3d6.
        const QStringList lines = stats.tableText().split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 1 + 18 + 1 + 4 + 1);
        QCOMPARE(lines.mid(19).join(QLatin1Char(' ')),
                 " Outcome\tChance win\t0.0115740740741 tie\t0.0154320987654 loss\t0.97299382716 ");
        QCOMPARE(lines[0],
                 "Total\tChance\tAt least\tAt most\tCompared chance\tCompared at least\t"
                 "Compared at most");
        QCOMPARE(lines[1], "1\t0.166666666667\t1\t0.166666666667\t0\t1\t0");
        QCOMPARE(lines[10], "10\t0\t0\t1\t0.125\t0.625\t0.5");
        QCOMPARE(stats.table()->columnCount(), 7);
        QCOMPARE(stats.table()->rowCount(), 18);
        QCOMPARE(stats.table()->index(17, 4).data().toString(), QStringLiteral("0.46%"));

        // A wrong expression says where, and the last valid one stays.
        compare("3d6x");
        QVERIFY(stats.comparisonError().startsWith(QLatin1String("Column 4: ")));
        QCOMPARE(stats.chart().comparedName, QStringLiteral("3d6"));
        QCOMPARE(stats.table()->columnCount(), 7);
        // The ends the library reports: exploding dice have no highest
        // total (subtracted, no lowest), unless a reroll or a max bounds them.
        const struct {
            const char* typed;
            const char* summary;
        } ends[] = {
            {"1d6!", "1d6!: Lowest 1, highest none,"},
            {"-1d6!+3", "-1d6!+3: Lowest none, highest 2,"},
            {"1d6r6!", "1d6r6!: Lowest 1, highest 5,"},
            {"-1d6r6!+10", "-1d6r6!+10: Lowest 5, highest 9,"},
            {"1d6!max8", "1d6!max8: Lowest 1, highest 8,"},
        };
        for (const auto& end : ends) {
            compare(end.typed);
            QVERIFY2(stats.comparisonSummary().startsWith(QString::fromUtf8(end.summary)),
                     qPrintable(stats.comparisonSummary()));
        }
        // Past the listed totals of a side without end, the compared cells
        // stay empty; the checker's targets are all listed.
        roller.setEntryText(RollerModel::Entry::kDice, QStringLiteral("100"));
        compare("1d2!");
        QCOMPARE(stats.table()->rowCount(), 600);
        QCOMPARE(stats.table()->index(0, 4).data().toString(), QStringLiteral("50.00%"));
        QCOMPARE(stats.table()->index(599, 4).data().toString(), QString());
        QVERIFY2(stats.checkerChance().endsWith(QLatin1String(" With 1d2!: 3.1%.")),
                 qPrintable(stats.checkerChance()));
        roller.setEntryText(RollerModel::Entry::kDice, QStringLiteral("1"));
        // Nothing typed: no comparison.
        compare("");
        QCOMPARE(stats.comparisonError() + stats.comparisonSummary(), QString());
        QVERIFY(stats.chart().compared.empty());
        QCOMPARE(stats.tableText().count(QLatin1Char('\n')), 1 + 6);
        QCOMPARE(stats.table()->columnCount(), 4);
    }

    // The chances follow every change of the form: each option, the boxes at
    // the ends of their ranges, a Roll, Clear, and what the status line says
    // after each. 4d6 keeping three: mean 12.24, median 12, most likely 13
    // (1,296 ways counted by hand); each die 1 with the floor, or 100 more.
    void followsEveryChangeOfTheForm() {
        RollerModel roller;
        StatisticsModel stats(roller);
        using Entry = RollerModel::Entry;
        const auto type = [&roller](Entry entry, const char* text) {
            return [&roller, entry, text] { roller.setEntryText(entry, QLatin1String(text)); };
        };
        const struct {
            std::function<void()> change;
            const char* summary;
            const char* status;
        } steps[] = {
            {type(Entry::kDice, "4"), "Lowest 4, highest 24, mean 14.00,", ""},
            {[&] { roller.setDropLowest(true); },
             "Lowest 3, highest 18, mean 12.24, "
             "standard deviation 2.85, median 12, most likely 13.",
             ""},
            {[&] { roller.setNoRollsBelowOne(true); }, "Lowest 3, highest 18, mean 12.24,", ""},
            {type(Entry::kEachModifier, "-100"), "Lowest 3, highest 3, mean 3.00,", ""},
            {[&] { roller.setNoRollsBelowOne(false); }, "Lowest -297, highest -282, mean -287.76,",
             ""},
            {type(Entry::kEachModifier, "100"), "Lowest 303, highest 318,", ""},
            {type(Entry::kTotalModifier, "-100"), "Lowest 203, highest 218, mean 212.24,", ""},
            {[&] { roller.setNoInstantUpdate(true); }, "Lowest 203, highest 218,", ""},
            {[&] { roller.roll(); }, "Lowest 203, highest 218,", ""},
            {[&] { roller.setDropLowest(false); }, "Lowest 304, highest 324, mean 314.00,",
             "The results were rolled as (4d6+100)  -100 - lowest roll; roll again to compare."},
            {type(Entry::kDice, "x"), "Lowest 304, highest 324,",
             "The Dice box holds no valid number; the chances shown are for the form before it."},
            {[&] { roller.clearEntries(); }, "Lowest 1, highest 6, mean 3.50,", ""},
        };
        for (const auto& step : steps) {
            step.change();
            AwaitChances();
            QVERIFY2(stats.summary().startsWith(QLatin1String(step.summary)),
                     qPrintable(stats.summary()));
            QCOMPARE(stats.status(), QString::fromUtf8(step.status));
        }
    }

    // A comparison typed while an older, slower one is worked out replaces
    // it: the older one never shows, though it comes last. One awaited for
    // more than a moment is said to be, while the last one stays shown.
    void showsOnlyTheLatestChancesAndSaysWhenTheyAreSlow() {
        RollerModel roller;
        StatisticsModel stats(roller);
        QStringList shown;
        connect(&stats, &StatisticsModel::changed, this,
                [&] { shown << stats.comparisonSummary(); });
        stats.setComparisonText(QStringLiteral("100d100ro1kh50"));
        stats.setComparisonText(QStringLiteral("3d6"));
        AwaitChances();
        QVERIFY2(!shown.join('|').contains(QLatin1String("kh50")), qPrintable(shown.join('|')));
        QVERIFY(stats.comparisonSummary().startsWith(QLatin1String("3d6: ")));

        auto held = std::make_unique<HeldWorkers>();
        stats.setComparisonText(QStringLiteral("2d6"));
        QCOMPARE(stats.working(), QString());
        QTRY_COMPARE(stats.working(), QStringLiteral("Working out the chances\u2026"));
        QVERIFY(stats.comparisonSummary().startsWith(QLatin1String("3d6: ")));
        held.reset();
        QTRY_VERIFY(stats.comparisonSummary().startsWith(QLatin1String("2d6: ")));
        QCOMPARE(stats.working(), QString());
    }
};

}  // namespace alearo

QTEST_GUILESS_MAIN(alearo::StatisticsModelTest)
#include "statistics_model_test.moc"
