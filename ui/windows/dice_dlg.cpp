#include "ui/windows/dice_dlg.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QUrl>
#include <algorithm>
#include <iterator>
#include <memory>
#include <utility>

#include "engine/die_types.h"
#include "engine/roll.h"
#include "engine/summary_lines.h"
#include "input/number_text.h"
#include "output/results_file.h"
#include "settings/settings_file.h"
#include "ui/forms/accessibility.h"
#include "ui/forms/control_text.h"
#include "ui/platform/platform_services.h"
#include "ui/platform/results_printer.h"
#include "ui/widgets/clickable_icon.h"
#include "ui/widgets/up_down.h"
#include "ui/windows/about_dlg.h"
#include "ui/windows/app_icon.h"
#include "ui/windows/control_ids.h"
#include "ui/windows/message_texts.h"
#include "ui/windows/stats_window.h"
#include "ui/windows/window_tables.h"

namespace alearo {

namespace {

namespace id = control_id;

// The number boxes that have arrows beside them.
template <class Visit>
void ForEachUpDownBox(Visit visit) {
    for (const NumberBox& box : kNumberBoxes) {
        if (box.upDownId != 0) {
            visit(box);
        }
    }
}

// The boxes whose edits refresh the description at once.
constexpr int kInstantUpdateBoxes[] = {id::kDice, id::kEachModifier, id::kTotalModifier};

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
    InstallAccessibleInterfaces();
    m_form = BuildDialogForm(*this, MainFormSpec(), m_hIcon, m_menuBar);
    m_commands = BuildMenu(MainMenuLines(), m_menuBar);

    // The binding steps, in the one order both directions follow.
    m_exchange.BindRadio(m_form.radioGroups.value(id::kD4), m_state.m_nDieTypeIndex);
    m_exchange.BindText(GetDlgItem(id::kResults), m_state.m_strResults);
    m_exchange.BindText(GetDlgItem(id::kHeader), m_state.m_strHeader);
    m_exchange.BindRadio(m_form.radioGroups.value(id::kGreaterThan), m_state.m_nCheckMode);
    BindNumberBox(id::kCheckTarget);
    m_exchange.BindText(GetDlgItem(id::kCheckerLine), m_state.m_strCheckResult);
    BindNumberBox(id::kDice);
    BindNumberBox(id::kTotalModifier);
    BindNumberBox(id::kRolls);
    BindNumberBox(id::kEachModifier);

    ConnectMessageMap();
    OnInitDialog();
}

void CDiceDlg::BindNumberBox(int editId) {
    const NumberBox& box = NumberBoxOf(editId);
    m_exchange.BindNumber(Control<QLineEdit>(editId), m_state.*box.field, box.minimum, box.maximum);
}

QWidget* CDiceDlg::GetDlgItem(int controlId) const {
    return m_form.controls.value(controlId);
}

QAction* CDiceDlg::MenuCommand(int commandId) const {
    return m_commands.value(commandId);
}

bool CDiceDlg::UpdateData(bool saveAndValidate) {
    return m_exchange.UpdateData(saveAndValidate);
}

void CDiceDlg::ConnectMessageMap() {
    auto onClick = [this](int controlId, void (CDiceDlg::*handler)()) {
        connect(Control<QPushButton>(controlId), &QPushButton::clicked, this, handler);
    };
    auto onCommand = [this](int commandId, void (CDiceDlg::*handler)()) {
        connect(MenuCommand(commandId), &QAction::triggered, this, handler);
    };

    onClick(id::kRoll, &CDiceDlg::OnRoll);
    connect(Control<ClickableIcon>(id::kRollIcon), &ClickableIcon::clicked, this,
            &CDiceDlg::OnRoll);
    onCommand(command_id::kRoll, &CDiceDlg::OnRoll);

    ConnectChoice(m_form.radioGroups.value(id::kD4), &CDiceDlg::OnDieType);

    onClick(id::kClear, &CDiceDlg::OnClearEntries);
    onCommand(command_id::kClearEntries, &CDiceDlg::OnClearEntries);
    onCommand(command_id::kStatistics, &CDiceDlg::OnStatistics);

    // The statistics follow every change of what the form describes.
    for (const NumberBox& box : kNumberBoxes) {
        connect(Control<QLineEdit>(box.editId), &QLineEdit::textChanged, this,
                &CDiceDlg::FormChanged);
    }
    for (const int groupId : {id::kD4, id::kGreaterThan}) {
        connect(m_form.radioGroups.value(groupId), &QButtonGroup::idToggled, this, [this] {
            if (!m_exchange.Storing()) {
                emit FormChanged();
            }
        });
    }

    for (const int editId : kInstantUpdateBoxes) {
        connect(Control<QLineEdit>(editId), &QLineEdit::textChanged, this,
                &CDiceDlg::OnInstantUpdate);
    }

    ConnectChoice(m_form.radioGroups.value(id::kGreaterThan), &CDiceDlg::OnCheckerRadio);
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
    // F1 reaches the help through its menu item's shortcut anywhere in the
    // window, and through this filter while one of the menus is open.
    for (QMenu* menu : m_menuBar->findChildren<QMenu*>()) {
        menu->installEventFilter(this);
    }

    ForEachUpDownBox([this](const NumberBox& box) {
        UpDown* upDown = Control<UpDown>(box.upDownId);
        connect(upDown, &UpDown::Scrolled, this,
                [this, upDown](int code, int position) { OnVScroll(code, position, upDown); });
    });

    onClick(id::kCancel, &CDiceDlg::OnCancel);
}

void CDiceDlg::ConnectChoice(QButtonGroup* group, void (CDiceDlg::*handler)(int)) {
    // A choice runs its handler however it is made: a click, an arrow key, a
    // mnemonic, or the toggle of an assistive tool, which clicks nothing. A
    // click on the button already chosen runs it again, as clicks always do.
    auto toggled = std::make_shared<bool>(false);
    for (QAbstractButton* button : group->buttons()) {
        connect(button, &QAbstractButton::pressed, this, [toggled] { *toggled = false; });
    }
    connect(group, &QButtonGroup::idToggled, this, [this, handler, toggled](int index, bool on) {
        if (on && !m_exchange.Storing()) {
            *toggled = true;
            (this->*handler)(index);
        }
    });
    connect(group, &QButtonGroup::idClicked, this, [this, handler, toggled](int index) {
        if (!std::exchange(*toggled, false)) {
            (this->*handler)(index);
        }
    });
}

void CDiceDlg::OnInitDialog() {
    ForEachUpDownBox([this](const NumberBox& box) {
        UpDown* upDown = Control<UpDown>(box.upDownId);
        upDown->SetRange(box.minimum, box.maximum);
        upDown->SetPosition(m_state.*box.field);
    });
    // A missing or unreadable settings file leaves the defaults, silently:
    // the first start of the program has none.
    LoadSettings(m_state);
    UpdateData(false);
    SyncOptionMenu();
    setWindowIcon(m_hIcon);
    // No control has the focus at first: the window itself takes the keys, so
    // Enter rolls and Tab goes to the first box.
    setFocus(Qt::OtherFocusReason);
}

void CDiceDlg::SetDlgItemText(int controlId, const std::string& text) {
    const bool changed = SetControlText(GetDlgItem(controlId), QString::fromStdString(text));
    // Writing an edit counts as a change even when the text stays the same;
    // the widget itself says nothing then, so the handler is called here.
    if (!changed && std::find(std::begin(kInstantUpdateBoxes), std::end(kInstantUpdateBoxes),
                              controlId) != std::end(kInstantUpdateBoxes)) {
        OnInstantUpdate();
    }
}

void CDiceDlg::SetDlgItemInt(int controlId, int value) {
    SetDlgItemText(controlId, std::to_string(value));
}

void CDiceDlg::UpdateHeader() {
    UpdateHeaderText(m_state);
    SetDlgItemText(id::kHeader, m_state.m_strHeader);
}

void CDiceDlg::UpdateChecker() {
    UpdateCheckerText(m_state);
    SetDlgItemText(id::kCheckerLine, m_state.m_strCheckResult);
}

void CDiceDlg::OnRoll() {
    // A load that failed validation has shown its message; rolling on with
    // half-loaded fields would store results the user did not ask for.
    if (!UpdateData(true)) {
        return;
    }
    UpdateHeader();
    if (!RollDice(m_state)) {
        return;
    }
    UpdateChecker();
    // The store writes the results box with every other field. Writing it
    // beforehand as well would lay out and shape all the lines twice, which
    // is most of the handler's time.
    UpdateData(false);
    m_rolledAs = RolledAs{RollSpecOf(m_state), QString::fromStdString(m_state.m_strHeader)};
    emit FormChanged();
}

void CDiceDlg::OnClearEntries() {
    ClearEntries(m_state);
    UpdateData(false);
    m_rolledAs.reset();
    emit FormChanged();
}

void CDiceDlg::OnStatistics() {
    if (m_statsWindow.isNull()) {
        m_statsWindow = new StatsWindow(*this, m_services);
    }
    m_statsWindow->show();
    m_statsWindow->raise();
    m_statsWindow->activateWindow();
}

CDiceDlg::FormReading CDiceDlg::ReadForm() const {
    FormReading reading{m_state, {}};
    for (const NumberBox& box : kNumberBoxes) {
        const NumberLoadResult loaded = LoadNumberText(
            Control<QLineEdit>(box.editId)->text().toStdString(), box.minimum, box.maximum);
        if (loaded.status != NumberLoad::kValue) {
            reading.invalidBox = Control<QLineEdit>(box.editId)->accessibleName();
            break;
        }
        reading.fields.*box.field = loaded.value;
    }
    const int die = FormExchange::CheckedIndex(m_form.radioGroups.value(id::kD4));
    SelectDieType(reading.fields, die);
    reading.fields.m_nCheckMode =
        FormExchange::CheckedIndex(m_form.radioGroups.value(id::kGreaterThan));
    return reading;
}

void CDiceDlg::OnDieType(int index) {
    m_state.m_nDieSides = kDieTypes.at(static_cast<std::size_t>(index)).sides;
    // A failed load has told the user; the header follows the fields as they stand.
    UpdateData(true);
    UpdateHeader();
}

void CDiceDlg::OnInstantUpdate() {
    if (m_state.m_bNoInstantUpdate) {
        return;
    }
    // As with every handler but Roll, a failed load has told the user and
    // the texts follow the fields as they stand.
    UpdateData(true);
    UpdateHeader();
}

void CDiceDlg::OnCheckerRadio(int /*mode*/) {
    // The load stores the clicked button's index as the mode; a failed load
    // has told the user, and the count uses the fields as they stand.
    UpdateData(true);
    UpdateChecker();
    UpdateData(true);
}

void CDiceDlg::OnCheck() {
    // A failed load has told the user; the count uses the fields as they stand.
    UpdateData(true);
    UpdateChecker();
}

void CDiceDlg::ToggleOption(bool RollState::*flag, int commandId) {
    m_state.*flag = !(m_state.*flag);
    MenuCommand(commandId)->setChecked(m_state.*flag);
    emit FormChanged();
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
    if (!WriteResults(m_state, numbersOnly)) {
        m_services.ShowError(this, QString::fromLatin1(kResultsWriteError));
        return false;
    }
    return true;
}

void CDiceDlg::OnResultsNormalFormat() {
    if (HasResults(m_state)) {
        WriteResultsFile(false);
    }
}

void CDiceDlg::OnResultsNoText() {
    if (HasResults(m_state)) {
        WriteResultsFile(true);
    }
}

void CDiceDlg::OnSendToPrinter() {
    if (HasResults(m_state)) {
        theResultsPrinter.PrintResults(m_services, this, m_state.m_pResultLines,
                                       m_state.m_nResultCount);
    }
}

void CDiceDlg::OnSendToPrinterViaNotepad() {
    if (!HasResults(m_state) || !WriteResultsFile(false)) {
        return;
    }
    const QString path = QFileInfo(QString::fromLatin1(kResultsFileName)).absoluteFilePath();
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
    m_services.ShowHelp(this, QStringLiteral("contents"));
}

void CDiceDlg::OnHelpInfo() {
    m_services.ShowHelp(this, QStringLiteral("contents"));
}

void CDiceDlg::OnVScroll(int code, int position, UpDown* source) {
    if (code == UpDown::kEndScroll) {
        return;
    }
    const auto value = static_cast<std::int16_t>(position);
    ForEachUpDownBox([this, source, value](const NumberBox& box) {
        if (Control<UpDown>(box.upDownId) == source) {
            m_state.*box.field = value;
            SetDlgItemInt(box.editId, value);
        }
    });
}

bool CDiceDlg::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_F1 &&
        qobject_cast<QMenu*>(watched) != nullptr) {
        // An open menu takes every key: it goes first, then the help opens.
        while (QWidget* popup = QApplication::activePopupWidget()) {
            popup->close();
        }
        OnHelpInfo();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void CDiceDlg::OnExit() {
    OnCancel();
}

void CDiceDlg::reject() {
    OnCancel();
}

void CDiceDlg::OnCancel() {
    // Closing goes ahead even when a box fails its check: the message has
    // been shown, and the options and die type are saved all the same.
    UpdateData(true);
    SaveSettings();
    if (!m_statsWindow.isNull()) {
        m_statsWindow->close();
    }
    QDialog::reject();
}

}  // namespace alearo
