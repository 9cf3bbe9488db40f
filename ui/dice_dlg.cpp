#include "dice_dlg.h"

#include <QAction>
#include <QButtonGroup>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QShortcut>
#include <QUrl>

#include "about_dlg.h"
#include "app_icon.h"
#include "clickable_icon.h"
#include "control_table.h"
#include "control_text.h"
#include "die_types.h"
#include "menu_table.h"
#include "message_texts.h"
#include "platform_services.h"
#include "results_file.h"
#include "results_printer.h"
#include "roll.h"
#include "settings_file.h"
#include "summary_lines.h"
#include "up_down.h"

using alearo::RollState;
namespace id = control_id;

namespace {

struct UpDownBinding {
    int upDownId;
    int buddyId;
    std::int16_t RollState::*field;
    int minimum;
    int maximum;
};

constexpr UpDownBinding kUpDowns[] = {
    {id::kRollsUpDown, id::kRolls, &RollState::m_nRolls, 1, 100},
    {id::kDiceUpDown, id::kDice, &RollState::m_nDice, 1, 100},
    {id::kEachModifierUpDown, id::kEachModifier, &RollState::m_nEachModifier, -100, 100},
    {id::kTotalModifierUpDown, id::kTotalModifier, &RollState::m_nTotalModifier, -100, 100},
};

}  // namespace

CDiceDlg::CDiceDlg(PlatformServices& services, QWidget* parent)
    : QDialog(parent),
      m_services(services),
      m_hIcon(AppIcon()),
      m_menuBar(new QMenuBar(this)),
      m_exchange(
          [this](const QString& message) { m_services.ShowValidationMessage(this, message); }) {
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setObjectName(QStringLiteral("mainWindow"));
    m_form = BuildDialogForm(*this, MainFormSpec(), m_hIcon, m_menuBar);
    m_commands = BuildMenu(MainMenuLines(), m_menuBar);

    // The binding steps, in the one order both directions follow.
    m_exchange.BindRadio(m_form.radioGroups.value(id::kD4), m_state.m_nDieTypeIndex);
    m_exchange.BindText(GetDlgItem(id::kResults), m_state.m_strResults);
    m_exchange.BindText(GetDlgItem(id::kHeader), m_state.m_strHeader);
    m_exchange.BindRadio(m_form.radioGroups.value(id::kGreaterThan), m_state.m_nCheckMode);
    m_exchange.BindNumber(qobject_cast<QLineEdit*>(GetDlgItem(id::kCheckTarget)),
                          m_state.m_nCheckTarget, 0, 100);
    m_exchange.BindText(GetDlgItem(id::kCheckerLine), m_state.m_strCheckResult);
    m_exchange.BindNumber(qobject_cast<QLineEdit*>(GetDlgItem(id::kDice)), m_state.m_nDice, 1, 100);
    m_exchange.BindNumber(qobject_cast<QLineEdit*>(GetDlgItem(id::kTotalModifier)),
                          m_state.m_nTotalModifier, -100, 100);
    m_exchange.BindNumber(qobject_cast<QLineEdit*>(GetDlgItem(id::kRolls)), m_state.m_nRolls, 1,
                          100);
    m_exchange.BindNumber(qobject_cast<QLineEdit*>(GetDlgItem(id::kEachModifier)),
                          m_state.m_nEachModifier, -100, 100);

    ConnectMessageMap();
    OnInitDialog();
}

QWidget* CDiceDlg::GetDlgItem(int controlId) const {
    return m_form.controls.value(controlId);
}

QAction* CDiceDlg::MenuCommand(int commandId) const {
    return m_commands.value(commandId);
}

UpDown* CDiceDlg::UpDownControl(int controlId) const {
    return qobject_cast<UpDown*>(GetDlgItem(controlId));
}

bool CDiceDlg::UpdateData(bool saveAndValidate) {
    return m_exchange.UpdateData(saveAndValidate);
}

void CDiceDlg::ConnectMessageMap() {
    auto onClick = [this](int controlId, void (CDiceDlg::*handler)()) {
        connect(qobject_cast<QPushButton*>(GetDlgItem(controlId)), &QPushButton::clicked, this,
                handler);
    };
    auto onCommand = [this](int commandId, void (CDiceDlg::*handler)()) {
        connect(MenuCommand(commandId), &QAction::triggered, this, handler);
    };

    onClick(id::kRoll, &CDiceDlg::OnRoll);
    connect(qobject_cast<ClickableIcon*>(GetDlgItem(id::kRollIcon)), &ClickableIcon::clicked, this,
            &CDiceDlg::OnRoll);
    onCommand(command_id::kRoll, &CDiceDlg::OnRoll);

    connect(m_form.radioGroups.value(id::kD4), &QButtonGroup::idClicked, this,
            &CDiceDlg::OnDieType);

    onClick(id::kClear, &CDiceDlg::OnClearEntries);
    onCommand(command_id::kClearEntries, &CDiceDlg::OnClearEntries);

    for (const int editId : {id::kDice, id::kEachModifier, id::kTotalModifier}) {
        connect(qobject_cast<QLineEdit*>(GetDlgItem(editId)), &QLineEdit::textChanged, this,
                &CDiceDlg::OnInstantUpdate);
    }

    connect(m_form.radioGroups.value(id::kGreaterThan), &QButtonGroup::idClicked, this,
            &CDiceDlg::OnCheckerRadio);
    onClick(id::kCheck, &CDiceDlg::OnCheck);

    onCommand(command_id::kNoInstantUpdate, &CDiceDlg::OnNoInstantUpdate);
    onCommand(command_id::kNoRollsBelowOne, &CDiceDlg::OnNoRollsBelowOne);
    onCommand(command_id::kDropLowest, &CDiceDlg::OnDropLowest);
    onCommand(command_id::kResultsNormalFormat, &CDiceDlg::OnResultsNormalFormat);
    onCommand(command_id::kResultsNoText, &CDiceDlg::OnResultsNoText);
    onCommand(command_id::kSendToPrinter, &CDiceDlg::OnSendToPrinter);
    onCommand(command_id::kSendToPrinterViaNotepad, &CDiceDlg::OnSendToPrinterViaNotepad);
    onCommand(command_id::kExit, &CDiceDlg::OnExit);
    onCommand(command_id::kHelpContents, &CDiceDlg::OnHelpContents);
    onCommand(command_id::kWebsite, &CDiceDlg::OnWebsite);
    onCommand(command_id::kAbout, &CDiceDlg::OnAbout);
    // F1 anywhere in the window; the menu label only names the key.
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    help->setContext(Qt::WindowShortcut);
    connect(help, &QShortcut::activated, this, &CDiceDlg::OnHelpInfo);

    for (const UpDownBinding& binding : kUpDowns) {
        UpDown* upDown = UpDownControl(binding.upDownId);
        connect(upDown, &UpDown::Scrolled, this,
                [this, upDown](int code, int position) { OnVScroll(code, position, upDown); });
    }

    onClick(id::kCancel, &CDiceDlg::OnCancel);
}

void CDiceDlg::OnInitDialog() {
    for (const UpDownBinding& binding : kUpDowns) {
        UpDown* upDown = UpDownControl(binding.upDownId);
        upDown->SetRange(binding.minimum, binding.maximum);
        upDown->SetPosition(m_state.*binding.field);
    }
    alearo::LoadSettings(m_state);
    UpdateData(false);
    SyncOptionMenu();
    setWindowIcon(m_hIcon);
    // No control has the focus at first: the window itself takes the keys, so
    // Enter rolls and Tab goes to the first box.
    setFocus(Qt::OtherFocusReason);
}

void CDiceDlg::SetDlgItemText(int controlId, const std::string& text) {
    SetControlText(GetDlgItem(controlId), QString::fromStdString(text));
}

void CDiceDlg::SetDlgItemInt(int controlId, int value) {
    SetDlgItemText(controlId, std::to_string(value));
}

void CDiceDlg::UpdateHeader() {
    alearo::UpdateHeaderText(m_state);
    SetDlgItemText(id::kHeader, m_state.m_strHeader);
}

void CDiceDlg::UpdateChecker() {
    alearo::UpdateCheckerText(m_state);
    SetDlgItemText(id::kCheckerLine, m_state.m_strCheckResult);
}

void CDiceDlg::OnRoll() {
    // A load that failed validation has shown its message; rolling on with
    // half-loaded fields would store results the user did not ask for.
    if (!UpdateData(true)) {
        return;
    }
    UpdateHeader();
    if (!alearo::RollDice(m_state)) {
        return;
    }
    UpdateChecker();
    // The store writes the results box with every other field. Writing it
    // beforehand as well would lay out and shape all the lines twice, which
    // is most of the handler's time.
    UpdateData(false);
}

void CDiceDlg::OnClearEntries() {
    alearo::ClearEntries(m_state);
    UpdateData(false);
}

void CDiceDlg::OnDieType(int index) {
    m_state.m_nDieSides = alearo::kDieTypes.at(static_cast<std::size_t>(index)).sides;
    UpdateData(true);
    UpdateHeader();
}

void CDiceDlg::OnInstantUpdate() {
    if (m_state.m_bNoInstantUpdate) {
        return;
    }
    UpdateData(true);
    UpdateHeader();
}

void CDiceDlg::OnCheckerRadio(int /*mode*/) {
    // The load stores the clicked button's index as the mode.
    UpdateData(true);
    UpdateChecker();
    UpdateData(true);
}

void CDiceDlg::OnCheck() {
    UpdateData(true);
    UpdateChecker();
}

void CDiceDlg::ToggleOption(bool RollState::*flag, int commandId) {
    m_state.*flag = !(m_state.*flag);
    MenuCommand(commandId)->setChecked(m_state.*flag);
}

void CDiceDlg::OnNoInstantUpdate() {
    ToggleOption(&RollState::m_bNoInstantUpdate, command_id::kNoInstantUpdate);
}

void CDiceDlg::OnNoRollsBelowOne() {
    ToggleOption(&RollState::m_bNoRollsBelowOne, command_id::kNoRollsBelowOne);
}

void CDiceDlg::OnDropLowest() {
    ToggleOption(&RollState::m_bDropLowest, command_id::kDropLowest);
}

void CDiceDlg::SyncOptionMenu() {
    MenuCommand(command_id::kNoInstantUpdate)->setChecked(m_state.m_bNoInstantUpdate);
    MenuCommand(command_id::kNoRollsBelowOne)->setChecked(m_state.m_bNoRollsBelowOne);
    MenuCommand(command_id::kDropLowest)->setChecked(m_state.m_bDropLowest);
}

bool CDiceDlg::SaveSettings() {
    if (!alearo::SaveSettings(m_state)) {
        m_services.ShowError(this, QString::fromLatin1(kSettingsWriteError));
        return false;
    }
    return true;
}

bool CDiceDlg::WriteResultsFile(bool numbersOnly) {
    if (!alearo::WriteResults(m_state, numbersOnly)) {
        m_services.ShowError(this, QString::fromLatin1(kResultsWriteError));
        return false;
    }
    return true;
}

void CDiceDlg::OnResultsNormalFormat() {
    if (alearo::HasResults(m_state)) {
        WriteResultsFile(false);
    }
}

void CDiceDlg::OnResultsNoText() {
    if (alearo::HasResults(m_state)) {
        WriteResultsFile(true);
    }
}

void CDiceDlg::OnSendToPrinter() {
    if (alearo::HasResults(m_state)) {
        theResultsPrinter.PrintResults(m_services, this, m_state.m_pResultLines,
                                       m_state.m_nResultCount);
    }
}

void CDiceDlg::OnSendToPrinterViaNotepad() {
    if (!alearo::HasResults(m_state) || !WriteResultsFile(false)) {
        return;
    }
    const QString path =
        QFileInfo(QString::fromLatin1(alearo::kResultsFileName)).absoluteFilePath();
    QPointer<CDiceDlg> self(this);
    m_services.SpoolFile(this, path, [self](bool delivered) {
        if (!delivered && self) {
            self->m_services.ShowError(self, QString::fromLatin1(kSpoolError));
        }
    });
}

void CDiceDlg::OnAbout() {
    CAboutDlg about(m_services, this);
    about.exec();
}

void CDiceDlg::OnWebsite() {
    if (!m_services.OpenUrl(QUrl(QString::fromLatin1(kWebsiteUrl)))) {
        m_services.ShowError(this, QString::fromLatin1(kWebsiteError));
    }
}

void CDiceDlg::OnHelpContents() {
    m_services.ShowHelp(this);
}

void CDiceDlg::OnHelpInfo() {
    m_services.ShowHelp(this);
}

void CDiceDlg::OnVScroll(int code, int position, UpDown* source) {
    if (code == UpDown::kEndScroll) {
        return;
    }
    const auto value = static_cast<std::int16_t>(position);
    for (const UpDownBinding& binding : kUpDowns) {
        if (UpDownControl(binding.upDownId) == source) {
            m_state.*binding.field = value;
            SetDlgItemInt(binding.buddyId, value);
            return;
        }
    }
}

void CDiceDlg::OnExit() {
    OnCancel();
}

void CDiceDlg::reject() {
    OnCancel();
}

void CDiceDlg::OnCancel() {
    UpdateData(true);
    SaveSettings();
    QDialog::reject();
}
