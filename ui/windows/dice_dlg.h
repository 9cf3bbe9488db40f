#pragma once

#include <QDialog>
#include <QHash>
#include <QIcon>
#include <QPointer>
#include <optional>
#include <string>

#include "engine/roll_state.h"
#include "stats/roll_spec.h"
#include "ui/forms/form_builder.h"
#include "ui/forms/form_exchange.h"

class QAction;
class QButtonGroup;
class QMenuBar;

namespace alearo {

class PlatformServices;
class StatsWindow;
class UpDown;

// The main window. It owns the roll state; its handlers load the controls
// into the state, let the engine compute, write the texts back and, where the
// whole form changes, store every field into the controls.
class CDiceDlg : public QDialog {
    Q_OBJECT

  public:
    explicit CDiceDlg(PlatformServices& services, QWidget* parent = nullptr);

    const RollState& State() const { return m_state; }

    // The control with a given id, and the menu command with a given id.
    QWidget* GetDlgItem(int id) const;
    QAction* MenuCommand(int commandId) const;
    QMenuBar* MenuBar() const { return m_menuBar; }

    // What the form describes now, read without a word to the user: the
    // fields as the controls give them, and the spoken name of the first box that
    // holds no valid number (empty when every box does).
    struct FormReading {
        RollState fields;
        QString invalidBox;
    };
    FormReading ReadForm() const;

    // The roll the stored results were rolled as, and its description; none
    // before the first Roll and after Clear.
    struct RolledAs {
        RollSpec spec;
        QString header;
    };
    const std::optional<RolledAs>& ResultsRolledAs() const { return m_rolledAs; }

    // true loads the controls into the fields (and may fail validation);
    // false stores the fields into the controls.
    bool UpdateData(bool saveAndValidate = true);

    // Commands of the window.
    void OnRoll();
    void OnClearEntries();
    void OnStatistics();
    void OnDieType(int index);
    void OnInstantUpdate();
    void OnCheckerRadio(int mode);
    void OnCheck();
    void OnNoInstantUpdate();
    void OnNoRollsBelowOne();
    void OnDropLowest();
    void OnResultsNormalFormat();
    void OnResultsNoText();
    void OnSendToPrinter();
    void OnSendToPrinterViaNotepad();
    void OnAbout();
    void OnWebsite();
    void OnHelpContents();
    void OnHelpInfo();
    void OnExit();
    void OnCancel();
    void OnVScroll(int code, int position, UpDown* source);

    // Escape, the close box and the Cancel button all end up here.
    void reject() override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  signals:
    // Something the statistics follow may have changed: a box's text, the
    // die type, the checker, an option, or the results.
    void FormChanged();

  private:
    void OnInitDialog();
    void ConnectMessageMap();
    void ConnectChoice(QButtonGroup* group, void (CDiceDlg::*handler)(int));

    void UpdateHeader();
    void UpdateChecker();
    void SyncOptionMenu();
    bool SaveSettings();
    bool WriteResultsFile(bool numbersOnly);
    void ToggleOption(bool RollState::*flag, int commandId);

    void SetDlgItemText(int id, const std::string& text);
    void SetDlgItemInt(int id, int value);
    void BindNumberBox(int editId);

    template <class Widget>
    Widget* Control(int controlId) const {
        return m_form.Control<Widget>(controlId);
    }

    PlatformServices& m_services;
    RollState m_state;
    QIcon m_hIcon;
    QMenuBar* m_menuBar;
    BuiltForm m_form;
    QHash<int, QAction*> m_commands;
    FormExchange m_exchange;
    std::optional<RolledAs> m_rolledAs;
    QPointer<StatsWindow> m_statsWindow;
};

}  // namespace alearo
