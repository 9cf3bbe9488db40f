// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>
#include <QPointer>
#include <memory>
#include <utility>
#include <vector>

#include "ui/model/roller_model.h"

class QAction;
class QButtonGroup;
class QLineEdit;

namespace Ui {
class MainWindow;
}

namespace alearo {

class PlatformServices;
class StatsWindow;
class DiceTrayModel;
class DiceTrayWindow;
class UpDown;

// The main window: the form, the results and the menus. A dialog rather than
// a QMainWindow, because Enter presses the default button "Roll" and Escape
// closes, as in a dialog. It shows what its RollerModel says and passes what
// the player does on to it; what reaches outside goes through the platform
// services.
class MainWindow : public QDialog {
    Q_OBJECT

  public:
    explicit MainWindow(PlatformServices& services, QWidget* parent = nullptr);
    ~MainWindow() override;

    RollerModel& model() { return m_model; }

    // Escape, the close box, "Cancel" and "Exit" all close through here: the
    // form is taken and the settings saved.
    void reject() override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    using Entry = RollerModel::Entry;

    QLineEdit* editOf(Entry entry) const;
    UpDown* upDownOf(Entry entry) const;

    void connectEntries();
    void connectChoices();
    void connectCommands();
    void connectModelCommands();
    void connectModel();
    void showModel();

    void showEntryText(Entry entry, const QString& text);
    void showRejectedEntry(Entry entry, const QString& message);
    void showResultsText(const QString& text);
    void showDie(int index);
    void showCheckMode(CheckMode mode);
    void showOptions();

    void openStatistics();
    void openDiceTray();
    void placeBeside(QWidget* window) const;
    void sendToPrinter();
    void sendToSpooler();
    void showAbout();
    void openWebsite();
    void showHelp();

    std::unique_ptr<Ui::MainWindow> m_ui;
    PlatformServices& m_services;
    RollerModel m_model;
    QButtonGroup* m_dieButtons;
    QButtonGroup* m_checkButtons;
    QPointer<StatsWindow> m_statsWindow;
    std::unique_ptr<DiceTrayModel> m_trayModel;  // made when the tray first opens
    QPointer<DiceTrayWindow> m_trayWindow;
    std::vector<std::pair<QAction*, bool (RollerModel::*)() const>> m_optionActions;
};

}  // namespace alearo
