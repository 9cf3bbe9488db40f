// SPDX-License-Identifier: MIT
// The statistics window's numbers where the player sees them, against counts
// of the 36 ways two six-sided dice fall.
#include <QAbstractItemModel>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>

#include "main_window_fixture.h"
#include "ui/widgets/distribution_chart.h"
#include "ui/windows/stats_window.h"

namespace alearo {

class StatsWindowTest : public QObject {
    Q_OBJECT

    static QString Percent(int ways) {
        return ways == 36 ? QStringLiteral("100%")
                          : QString::number(ways * 100.0 / 36, 'f', 2) + QLatin1Char('%');
    }
    static int Ways(int total) { return total < 2 || total > 12 ? 0 : 6 - std::abs(7 - total); }

  private slots:
    void tableAndChartShowTheChancesAndTheRolledShares() {
        MainWindowFixture f;
        MainWindowFixture::Type(f.named<QLineEdit>("diceEdit"), QStringLiteral("2"));
        f.roll(36);
        f.named<QAction>("actionStatistics")->trigger();
        auto* stats = f.window().findChild<StatsWindow*>();
        QVERIFY(stats && stats->isVisible());
        // The shares are of the rolls made, whatever the box says now.
        MainWindowFixture::Type(f.named<QLineEdit>("rollsEdit"), QStringLiteral("10"));

        const QAbstractItemModel* table = stats->findChild<QTableView*>()->model();
        QTRY_COMPARE(table->rowCount(), 11);
        QStringList headers;
        for (int column = 0; column < table->columnCount(); ++column) {
            headers << table->headerData(column, Qt::Horizontal).toString();
        }
        QCOMPARE(headers.join(QLatin1Char('|')), QStringLiteral("Total|Chance|At least|At most"));
        // The four columns share the table's width, each at least as wide as
        // its heading.
        const QHeaderView* header = stats->findChild<QTableView*>()->horizontalHeader();
        for (int column = 0; column < 4; ++column) {
            QVERIFY(std::abs(header->sectionSize(column) - header->sectionSize(0)) <= 1);
            QVERIFY(header->sectionSize(column) >= header->sectionSizeHint(column));
        }
        int below = 0;
        for (int row = 0; row < 11; ++row) {
            const int total = 2 + row;
            QStringList expected{QString::number(total), Percent(Ways(total)), Percent(36 - below),
                                 Percent(below + Ways(total))};
            QStringList shown;
            for (int column = 0; column < 4; ++column) {
                shown << table->index(row, column).data().toString();
            }
            QCOMPARE(shown, expected);
            below += Ways(total);
        }

        // The chart: the exact chance of each total, and the share of the
        // last Roll's totals that came out at it.
        const auto* chart = stats->findChild<DistributionChart*>();
        const std::vector<RollResult>& results = f.model().results();
        QCOMPARE(chart->data().firstTotal, 2);
        QCOMPARE(int(chart->data().observed.size()), 11);
        for (int total = 2; total <= 12; ++total) {
            const auto rolled =
                std::count_if(results.begin(), results.end(),
                              [total](const RollResult& r) { return r.total == total; });
            QVERIFY(std::abs(chart->data().chances[std::size_t(total - 2)] - Ways(total) / 36.0) <
                    1e-12);
            QCOMPARE(chart->data().observed[std::size_t(total - 2)], double(rolled) / 36);
        }

        // Ctrl+C copies the table while the "Compare with" box, where the
        // window opens, has nothing selected, and its text when it has.
        auto* compare = stats->findChild<QLineEdit*>("compareEdit");
        QTRY_VERIFY(compare->hasFocus());
        QTest::keyClick(compare, Qt::Key_C, Qt::ControlModifier);
        QVERIFY(f.services.clipboard.startsWith(QLatin1String("Total\tChance")));
        f.services.clipboard.clear();
        QTest::keyClicks(compare, QStringLiteral("3d6"));
        compare->selectAll();
        QTest::keyClick(compare, Qt::Key_C, Qt::ControlModifier);
        QVERIFY(f.services.clipboard.isEmpty());
        compare->clear();

        // Save, cancelled, writes nothing and says nothing.
        f.services.saveFile.clear();
        QTest::mouseClick(stats->findChild<QPushButton*>("saveButton"), Qt::LeftButton);
        QVERIFY(QDir(f.file(QString())).entryList(QDir::Files).filter(".csv").isEmpty() &&
                f.services.errors.isEmpty());
        // Save failing says why.
        f.services.saveFile = f.file(QStringLiteral("no folder/chances.csv"));
        QTest::mouseClick(stats->findChild<QPushButton*>("saveButton"), Qt::LeftButton);
        QCOMPARE(f.services.errors, QStringList{"Error Writing to File: chances.csv"});
        QCOMPARE(f.services.reasons, QStringList{"No such file or directory"});
    }
};

}  // namespace alearo

QTEST_MAIN(alearo::StatsWindowTest)
#include "stats_window_test.moc"
