// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QString>
#include <optional>
#include <vector>

#include "dice/odds.h"
#include "engine/checker.h"
#include "engine/roll_spec.h"
#include "stats/distribution_table.h"
#include "stats/roll_distribution.h"
#include "ui/model/chance_table_model.h"
#include "ui/model/chance_worker.h"
#include "ui/model/outcome.h"

namespace alearo {

class RollerModel;

// What the statistics window shows: the exact chances of every total of the
// roll the main form describes, beside what its last Roll gave. It follows
// the form as the player edits it; while a box holds no valid number it keeps
// the last form that was valid. Chances are worked out off the window's
// thread: until they come, the last ones stay shown, and working() says so
// when they are slow.
class StatisticsModel : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString description READ description NOTIFY changed)
    Q_PROPERTY(QString summary READ summary NOTIFY changed)
    Q_PROPERTY(QString status READ status NOTIFY changed)
    Q_PROPERTY(QString checkerChance READ checkerChance NOTIFY changed)
    Q_PROPERTY(QString fairness READ fairness NOTIFY changed)
    Q_PROPERTY(QString comparisonText READ comparisonText WRITE setComparisonText NOTIFY changed)
    Q_PROPERTY(QString comparisonError READ comparisonError NOTIFY changed)
    Q_PROPERTY(QString comparisonSummary READ comparisonSummary NOTIFY changed)
    Q_PROPERTY(QString working READ working NOTIFY changed)

  public:
    // What the chart draws: the chance of each total from firstTotal on, the
    // share each had among the last Roll's totals (empty without one), and
    // the chances of the compared expression from its own first total (empty
    // without one).
    struct ChartSeries {
        int firstTotal = 0;
        std::vector<double> chances;
        std::vector<double> observed;
        int comparedFirstTotal = 0;
        std::vector<double> compared;
        QString comparedName;
    };

    explicit StatisticsModel(const RollerModel& roller, QObject* parent = nullptr);

    QString description() const { return m_description; }
    QString summary() const { return m_summary; }
    QString status() const { return m_status; }
    QString checkerChance() const { return m_checkerChance; }
    QString fairness() const { return m_fairness; }
    // The expression typed to compare with, and why it is not one (empty
    // when it is, or when nothing is typed). While the text is wrong, the
    // last valid comparison stays.
    QString comparisonText() const { return m_comparisonText; }
    QString comparisonError() const { return m_comparisonError; }
    // The compared expression's lowest, highest, mean, standard deviation,
    // median and most likely total; then how the form's roll fares against
    // it, or against the target after "vs", and the odds of the compared
    // expression's own "vs". Empty without a comparison.
    QString comparisonSummary() const { return m_comparisonSummary; }
    // "Working out the chances..." while chances have been awaited for a
    // while; empty otherwise.
    QString working() const;
    const std::optional<TotalDistribution>& comparison() const { return m_comparison; }
    const ChartSeries& chart() const { return m_chart; }
    ChanceTableModel* table() { return &m_table; }
    const TotalDistribution& distribution() const { return m_distribution; }

    // The table as tab-separated text, for the clipboard.
    QString tableText() const;

  public slots:
    void refresh();
    void setComparisonText(const QString& text);
    // Writes the table as comma-separated values.
    alearo::Outcome saveTable(const QString& path);

  signals:
    void changed();

  private:
    void requestDistribution();
    void showDistribution(TotalDistribution distribution, const RollSpec& spec);
    // The chances of a compared roll, and the odds of its own "vs".
    struct Compared {
        std::optional<TotalDistribution> chances;
        std::optional<dice::Odds> odds;
    };
    void compareWith(const dice::Expression& typed);
    void showComparison(Compared compared, const dice::Expression& typed);
    void showOdds();
    // The odds of the form's roll against the comparison or the target.
    std::optional<dice::Odds> formOdds() const;
    std::string tableIn(TableFormat format) const;
    dice::Expression formVersus() const;
    void showResults(bool formValid, const QString& invalidName);
    void showTable();

    const RollerModel& m_roller;
    bool m_hasForm = false;
    RollSpec m_spec;                      // the last valid form
    std::optional<RollSpec> m_shownSpec;  // the form whose chances are shown
    Checker m_checker;
    int m_rolls = 1;
    TotalDistribution m_distribution;
    ChanceTableModel m_table;
    ChartSeries m_chart;
    QString m_description;
    QString m_summary;
    QString m_status;
    QString m_checkerChance;
    QString m_fairness;
    QString m_comparisonText;
    QString m_comparisonError;
    QString m_comparisonName;
    QString m_comparisonSummary;
    std::optional<TotalDistribution> m_comparison;
    dice::Expression m_compared;  // as typed, with any "vs"; no terms for "vs 15" alone
    std::optional<dice::Odds> m_comparedOdds;
    QString m_comparedSummary;
    ChanceWorker m_worker;
};

}  // namespace alearo
