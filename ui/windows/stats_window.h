#pragma once

#include <QWidget>

#include "engine/roll_state.h"
#include "stats/roll_spec.h"
#include "stats/total_distribution.h"

class QLabel;
class QTableView;

namespace alearo {

class CDiceDlg;
class DistributionChart;
class PlatformServices;
class StatsTableModel;

// The exact chances of every total of the roll the main form describes,
// beside what its last Roll gave. It follows the form as the user edits it.
class StatsWindow : public QWidget {
    Q_OBJECT

  public:
    StatsWindow(CDiceDlg& dialog, PlatformServices& services);

    // Reads the main form and the last Roll again and shows what they give.
    void Refresh();

    // The table as tab-separated text on the clipboard, or as a CSV file.
    void OnCopy();
    void OnSave();

    const TotalDistribution& Distribution() const { return m_distribution; }

  private:
    void ShowDistribution();
    // The lines that depend on the last Roll, and the status: an invalid box
    // or a Roll of other dice.
    void ShowResults(const QString& invalidBox);

    CDiceDlg& m_dialog;
    PlatformServices& m_services;
    RollState m_form;  // the last form whose boxes all held valid numbers
    bool m_hasForm = false;
    RollSpec m_spec;
    TotalDistribution m_distribution;

    QLabel* m_description;
    QLabel* m_summary;
    QLabel* m_status;
    DistributionChart* m_chart;
    QLabel* m_checker;
    QLabel* m_fairness;
    StatsTableModel* m_model;
    QTableView* m_table;
};

}  // namespace alearo
