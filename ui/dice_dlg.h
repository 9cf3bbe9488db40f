#pragma once

#include <QDialog>
#include <QHash>
#include <QIcon>
#include <string>

#include "form_builder.h"
#include "form_exchange.h"
#include "roll_state.h"

class PlatformServices;
class QAction;
class QMenuBar;
class UpDown;

// The main window. It owns the roll state; its handlers load the controls
// into the state, let the engine compute, write the texts back and, where the
// whole form changes, store every field into the controls.
class CDiceDlg : public QDialog {
    Q_OBJECT

  public:
    explicit CDiceDlg(PlatformServices& services, QWidget* parent = nullptr);

    const alearo::RollState& State() const { return m_state; }

    // The control with a given id, and the menu command with a given id.
    QWidget* GetDlgItem(int id) const;
    QAction* MenuCommand(int commandId) const;
    QMenuBar* MenuBar() const { return m_menuBar; }

    // true loads the controls into the fields (and may fail validation);
    // false stores the fields into the controls.
    bool UpdateData(bool saveAndValidate = true);

    // Commands of the window.
    void OnRoll();
    void OnClearEntries();
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

  private:
    void OnInitDialog();
    void ConnectMessageMap();

    void UpdateHeader();
    void UpdateChecker();
    void SyncOptionMenu();
    bool SaveSettings();
    bool WriteResultsFile(bool numbersOnly);
    void ToggleOption(bool alearo::RollState::*flag, int commandId);

    void SetDlgItemText(int id, const std::string& text);
    void SetDlgItemInt(int id, int value);
    UpDown* UpDownControl(int id) const;

    PlatformServices& m_services;
    alearo::RollState m_state;
    QIcon m_hIcon;
    QMenuBar* m_menuBar;
    BuiltForm m_form;
    QHash<int, QAction*> m_commands;
    FormExchange m_exchange;
};
