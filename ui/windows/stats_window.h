// SPDX-License-Identifier: MIT
#pragma once

#include <QWidget>

#include "ui/model/statistics_model.h"

class QLabel;
class QLineEdit;
class QTableView;

namespace alearo {

class DistributionChart;
class PlatformServices;
class RollerModel;

// The exact chances of every total of the roll the main form describes,
// beside what its last Roll gave and, on request, beside a dice expression
// typed in its "Compare with" box, as its StatisticsModel says.
class StatsWindow : public QWidget {
    Q_OBJECT

  public:
    StatsWindow(const RollerModel& roller, PlatformServices& services, QWidget* parent);

    StatisticsModel& model() { return m_model; }

    // The table as tab-separated text on the clipboard, or as a CSV file.
    void copyTable();
    void saveTable();

  private:
    void showModel();

    PlatformServices& m_services;
    StatisticsModel m_model;
    QLineEdit* m_compareEdit;
    QLabel* m_comparisonError;
    QLabel* m_description;
    QLabel* m_comparisonSummary;
    QLabel* m_summary;
    QLabel* m_status;
    DistributionChart* m_chart;
    QLabel* m_checker;
    QLabel* m_fairness;
    QTableView* m_table;
};

}  // namespace alearo
