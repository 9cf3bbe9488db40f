// SPDX-License-Identifier: MIT
// The statistics window's model comparing the form's roll with a typed
// expression, against chances counted by hand.
#include <QTest>

#include "ui/model/roller_model.h"
#include "ui/model/statistics_model.h"

namespace alearo {

class StatisticsModelTest : public QObject {
    Q_OBJECT

  private slots:
    void comparesTheFormWithATypedExpression() {
        RollerModel roller;  // one d6
        StatisticsModel stats(roller);
        roller.chooseCheckMode(CheckMode::AtLeast);
        roller.setEntryText(RollerModel::Entry::CheckTarget, QStringLiteral("10"));
        stats.setComparisonText(QStringLiteral(" 3D6 "));
        QCOMPARE(stats.comparisonError(), QString());
        QCOMPARE(stats.comparisonSummary(),
                 "3d6: Lowest 3, highest 18, mean 10.50, standard deviation 2.96, median 10, "
                 "most likely 10.");
        // 135 of the 216 ways three dice fall reach 10.
        QVERIFY2(stats.checkerChance().endsWith(QLatin1String(" With 3d6: 62.5%.")),
                 qPrintable(stats.checkerChance()));
        QCOMPARE(stats.chart().comparedName, QStringLiteral("3d6"));

        // Rows over both rolls: 1 to 18. Where one roll cannot reach, its
        // chance is 0, at least 1 below and 0 above, at most the other way.
        const QStringList lines = stats.tableText().split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 1 + 18 + 1);
        QCOMPARE(lines[0],
                 "Total\tChance\tAt least\tAt most\tCompared chance\tCompared at least\t"
                 "Compared at most");
        QCOMPARE(lines[1], "1\t0.166666666667\t1\t0.166666666667\t0\t1\t0");
        QCOMPARE(lines[10], "10\t0\t0\t1\t0.125\t0.625\t0.5");
        QCOMPARE(stats.table()->columnCount(), 7);
        QCOMPARE(stats.table()->rowCount(), 18);
        QCOMPARE(stats.table()->index(17, 4).data().toString(), QStringLiteral("0.46%"));

        // A wrong expression says where, and the last valid one stays.
        stats.setComparisonText(QStringLiteral("3d6x"));
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
            stats.setComparisonText(QString::fromUtf8(end.typed));
            QVERIFY2(stats.comparisonSummary().startsWith(QString::fromUtf8(end.summary)),
                     qPrintable(stats.comparisonSummary()));
        }
        // Past the listed totals of a side without end, the compared cells
        // stay empty; the checker's targets are all listed.
        roller.setEntryText(RollerModel::Entry::Dice, QStringLiteral("100"));
        stats.setComparisonText(QStringLiteral("1d2!"));
        QCOMPARE(stats.table()->rowCount(), 600);
        QCOMPARE(stats.table()->index(0, 4).data().toString(), QStringLiteral("50.00%"));
        QCOMPARE(stats.table()->index(599, 4).data().toString(), QString());
        QVERIFY2(stats.checkerChance().endsWith(QLatin1String(" With 1d2!: 3.1%.")),
                 qPrintable(stats.checkerChance()));
        roller.setEntryText(RollerModel::Entry::Dice, QStringLiteral("1"));
        // Nothing typed: no comparison.
        stats.setComparisonText(QString());
        QCOMPARE(stats.comparisonError() + stats.comparisonSummary(), QString());
        QVERIFY(stats.chart().compared.empty());
        QCOMPARE(stats.tableText().count(QLatin1Char('\n')), 1 + 6);
        QCOMPARE(stats.table()->columnCount(), 4);
    }
};

}  // namespace alearo

QTEST_GUILESS_MAIN(alearo::StatisticsModelTest)
#include "statistics_model_test.moc"
