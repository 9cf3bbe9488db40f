// SPDX-License-Identifier: MIT
#pragma once

#include <QWidget>
#include <memory>

#include "ui/model/statistics_model.h"

namespace Ui {
class StatsWindow;
}

namespace alearo {

class PlatformServices;
class RollerModel;

// The exact chances of every total of the roll the main form describes,
// beside what its last Roll gave and, on request, beside a dice expression
// typed in its "Compare with" box, as its StatisticsModel says.
class StatsWindow : public QWidget {
    Q_OBJECT

  public:
    StatsWindow(const RollerModel& roller, PlatformServices& services, QWidget* parent);
    ~StatsWindow() override;

    StatisticsModel& model() { return m_model; }

    // Types `expression` into the "Compare with" box.
    void compareWith(const QString& expression);

    // The table as tab-separated text on the clipboard, or as a CSV file.
    void copyTable();
    void saveTable();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void showModel();

    std::unique_ptr<Ui::StatsWindow> m_ui;
    PlatformServices& m_services;
    StatisticsModel m_model;
};

}  // namespace alearo
