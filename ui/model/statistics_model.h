// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QString>
#include <vector>

#include "engine/checker.h"
#include "engine/roll_spec.h"
#include "stats/total_distribution.h"
#include "ui/model/chance_table_model.h"

namespace alearo {

class RollerModel;

// What the statistics window shows: the exact chances of every total of the
// roll the main form describes, beside what its last Roll gave. It follows
// the form as the player edits it; while a box holds no valid number it keeps
// the last form that was valid.
class StatisticsModel : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString description READ description NOTIFY changed)
    Q_PROPERTY(QString summary READ summary NOTIFY changed)
    Q_PROPERTY(QString status READ status NOTIFY changed)
    Q_PROPERTY(QString checkerChance READ checkerChance NOTIFY changed)
    Q_PROPERTY(QString fairness READ fairness NOTIFY changed)

  public:
    // The chart's bars: the chance of each total from firstTotal on, and the
    // share each had among the last Roll's totals (empty without one).
    struct ChartSeries {
        int firstTotal = 0;
        std::vector<double> chances;
        std::vector<double> observed;
    };

    explicit StatisticsModel(const RollerModel& roller, QObject* parent = nullptr);

    QString description() const { return m_description; }
    QString summary() const { return m_summary; }
    QString status() const { return m_status; }
    QString checkerChance() const { return m_checkerChance; }
    QString fairness() const { return m_fairness; }
    const ChartSeries& chart() const { return m_chart; }
    ChanceTableModel* table() { return &m_table; }
    const TotalDistribution& distribution() const { return m_distribution; }

    // The table as tab-separated text, for the clipboard.
    QString tableText() const;

  public slots:
    void refresh();
    // Writes the table as comma-separated values; false after errorOccurred()
    // when the file could not be written.
    bool saveTable(const QString& path);

  signals:
    void changed();
    void errorOccurred(const QString& message, const QString& cause);

  private:
    void showDistribution();
    void showResults(bool formValid, const QString& invalidName);

    const RollerModel& m_roller;
    bool m_hasForm = false;
    RollSpec m_spec;
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
};

}  // namespace alearo
