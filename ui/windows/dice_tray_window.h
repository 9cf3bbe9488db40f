// SPDX-License-Identifier: MIT
#pragma once

#include <QSortFilterProxyModel>
#include <QWidget>
#include <memory>

namespace Ui {
class DiceTrayWindow;
}

namespace alearo {

class DiceTrayModel;
class PlatformServices;

// Rolls what the player types, with a history to roll again from and saved
// rolls, as its DiceTrayModel says. Not modal: it stays open beside the
// main window.
class DiceTrayWindow : public QWidget {
    Q_OBJECT

  public:
    DiceTrayWindow(DiceTrayModel& model, PlatformServices& services, QWidget* parent);
    ~DiceTrayWindow() override;

    DiceTrayModel& model() { return m_model; }

  signals:
    // The player asked to see an expression in the statistics window.
    void compareRequested(const QString& expression);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void connectControls();
    void showStoreStatus(const QString& status);
    void roll();
    int historyRow() const;  // the chosen entry, or -1
    int savedRow() const;    // the chosen saved roll in the model's order, or -1
    void saveEntry();
    void addSaved();
    void renameSaved();
    void editSaved();
    void deleteSaved();
    void moveSaved(int by);
    void importSaved();
    void exportSaved();
    void exportHistory();
    void clearHistory();
    void showRolled(const QString& sentence);

    std::unique_ptr<Ui::DiceTrayWindow> m_ui;
    DiceTrayModel& m_model;
    PlatformServices& m_services;
    QSortFilterProxyModel m_filtered;
};

}  // namespace alearo
