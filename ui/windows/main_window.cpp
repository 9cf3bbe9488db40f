// SPDX-License-Identifier: MIT
#include "ui/windows/main_window.h"

#include <QApplication>
#include <QButtonGroup>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMenu>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QSignalBlocker>
#include <QStyle>
#include <QUrl>
#include <algorithm>
#include <array>
#include <memory>
#include <utility>

#include "engine/die_type.h"
#include "ui/model/dice_tray_model.h"
#include "ui/platform/links.h"
#include "ui/platform/platform_services.h"
#include "ui/platform/results_printer.h"
#include "ui/widgets/accessibility.h"
#include "ui/windows/about_dialog.h"
#include "ui/windows/app_icon.h"
#include "ui/windows/dice_tray_window.h"
#include "ui/windows/stats_window.h"
#include "ui_main_window.h"

namespace alearo {

namespace {

constexpr int kIconPixels = 32;

// The results box shows plain line feeds; the results text has CR LF
// between lines, as the results file does. What the player types in the box
// stays there, until the next Roll or Clear.
QString ToBoxLineEnds(QString text) {
    return text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
}

// Only the chosen button of a group is reached with Tab (the first one when
// none is chosen); the arrow keys move within the group.
void KeepOneTabStop(QButtonGroup* group) {
    const QList<QAbstractButton*> buttons = group->buttons();
    QAbstractButton* stop = group->checkedButton();
    if (stop == nullptr && !buttons.isEmpty()) {
        stop = buttons.first();
    }
    for (QAbstractButton* button : buttons) {
        button->setFocusPolicy(button == stop ? Qt::StrongFocus : Qt::ClickFocus);
    }
}

// Checks the button with this id, or none for an id no button has, without
// running the choice's handler.
void CheckButton(QButtonGroup* group, int id) {
    const QSignalBlocker blocker(group);
    // An exclusive group refuses to uncheck its last button.
    group->setExclusive(false);
    for (QAbstractButton* button : group->buttons()) {
        button->setChecked(group->id(button) == id);
    }
    group->setExclusive(true);
}

// Runs `choose` with the button's id however a choice is made: a click, an
// arrow key, a mnemonic, or the toggle of an assistive tool, which clicks
// nothing. A click on the button already chosen runs it again, as clicks do.
template <class Choose>
void OnChoice(QButtonGroup* group, QObject* context, Choose choose) {
    auto toggled = std::make_shared<bool>(false);
    for (QAbstractButton* button : group->buttons()) {
        QObject::connect(button, &QAbstractButton::pressed, context,
                         [toggled] { *toggled = false; });
    }
    QObject::connect(group, &QButtonGroup::idToggled, context, [toggled, choose](int id, bool on) {
        if (on) {
            *toggled = true;
            choose(id);
        }
    });
    QObject::connect(group, &QButtonGroup::idClicked, context, [toggled, choose](int id) {
        if (!std::exchange(*toggled, false)) {
            choose(id);
        }
    });
}

// The model's commands and options, each on its menu item of the form.
struct MenuCommand {
    QAction* Ui::MainWindow::*item;
    void (RollerModel::*run)();
};
constexpr MenuCommand kMenuCommands[] = {
    {&Ui::MainWindow::actionRoll, &RollerModel::roll},
    {&Ui::MainWindow::actionClearEntries, &RollerModel::clearEntries},
};

struct MenuOption {
    QAction* Ui::MainWindow::*item;
    bool (RollerModel::*isOn)() const;
    void (RollerModel::*set)(bool);
};
constexpr MenuOption kMenuOptions[] = {
    {&Ui::MainWindow::actionNoInstantUpdate, &RollerModel::noInstantUpdate,
     &RollerModel::setNoInstantUpdate},
    {&Ui::MainWindow::actionNoRollsBelowOne, &RollerModel::noRollsBelowOne,
     &RollerModel::setNoRollsBelowOne},
    {&Ui::MainWindow::actionDropLowest, &RollerModel::dropLowest, &RollerModel::setDropLowest},
};

}  // namespace

MainWindow::MainWindow(PlatformServices& services, QWidget* parent)
    : QDialog(parent),
      m_ui(std::make_unique<Ui::MainWindow>()),
      m_services(services),
      m_dieButtons(new QButtonGroup(this)),
      m_checkButtons(new QButtonGroup(this)) {
    m_ui->setupUi(this);
    layout()->setMenuBar(m_ui->menuBar);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    InstallAccessibleInterfaces();
    const QIcon icon = AppIcon();
    setWindowIcon(icon);
    m_ui->rollIcon->setPixmap(icon.pixmap(kIconPixels, kIconPixels));
    QTextOption centred = m_ui->resultsBox->document()->defaultTextOption();
    centred.setAlignment(Qt::AlignHCenter);
    m_ui->resultsBox->document()->setDefaultTextOption(centred);

    // A radio button for each die of the table, in its order.
    const std::array<QAbstractButton*, kDieTypes.size()> dieRadios{
        m_ui->d4Radio,  m_ui->d6Radio,  m_ui->d8Radio,  m_ui->d10Radio,
        m_ui->d12Radio, m_ui->d20Radio, m_ui->d100Radio};
    for (std::size_t id = 0; id < dieRadios.size(); ++id) {
        m_dieButtons->addButton(dieRadios[id], static_cast<int>(id));
    }
    m_checkButtons->addButton(m_ui->greaterThanRadio, static_cast<int>(CheckMode::kAtLeast));
    m_checkButtons->addButton(m_ui->lessThanRadio, static_cast<int>(CheckMode::kAtMost));
    m_checkButtons->addButton(m_ui->equalToRadio, static_cast<int>(CheckMode::kEqual));

    connectEntries();
    connectChoices();
    connectCommands();
    connectModel();
    m_model.loadSettings();
    showModel();
    // No control has the focus at first: the window itself takes the keys, so
    // Enter rolls and Tab goes to the first box.
    setFocus(Qt::OtherFocusReason);
}

MainWindow::~MainWindow() {
    // The statistics window and the dice tray, children destroyed after the
    // members, read the models.
    delete m_statsWindow;
    delete m_trayWindow;
}

QLineEdit* MainWindow::editOf(Entry entry) const {
    switch (entry) {
        case Entry::kRolls:
            return m_ui->rollsEdit;
        case Entry::kDice:
            return m_ui->diceEdit;
        case Entry::kEachModifier:
            return m_ui->eachModifierEdit;
        case Entry::kTotalModifier:
            return m_ui->totalModifierEdit;
        case Entry::kCheckTarget:
            return m_ui->checkTargetEdit;
    }
    return nullptr;
}

// The check target's box has no arrows.
UpDown* MainWindow::upDownOf(Entry entry) const {
    switch (entry) {
        case Entry::kRolls:
            return m_ui->rollsUpDown;
        case Entry::kDice:
            return m_ui->diceUpDown;
        case Entry::kEachModifier:
            return m_ui->eachModifierUpDown;
        case Entry::kTotalModifier:
            return m_ui->totalModifierUpDown;
        case Entry::kCheckTarget:
            return nullptr;
    }
    return nullptr;
}

void MainWindow::connectEntries() {
    for (const Entry entry : RollerModel::kEntries) {
        QLineEdit* edit = editOf(entry);
        edit->setAccessibleName(RollerModel::NameOf(entry));
        const Range range = RollerModel::RangeOf(entry);
        if (range.minimum >= 0) {
            edit->setValidator(new QRegularExpressionValidator(
                QRegularExpression(QStringLiteral("[0-9]*")), edit));
        }
        connect(edit, &QLineEdit::textChanged, this,
                [this, entry](const QString& text) { m_model.setEntryText(entry, text); });
        if (UpDown* upDown = upDownOf(entry)) {
            // The arrows keep a position of their own, from the start values on.
            upDown->setRange(range.minimum, range.maximum);
            upDown->setPosition(m_model.entryValue(entry));
            upDown->setBuddy(edit);
            connect(upDown, &UpDown::stepped, this,
                    [this, entry](int position) { m_model.stepEntry(entry, position); });
        }
    }
}

void MainWindow::connectChoices() {
    OnChoice(m_dieButtons, this, [this](int index) { m_model.chooseDie(index); });
    OnChoice(m_checkButtons, this,
             [this](int mode) { m_model.chooseCheckMode(static_cast<CheckMode>(mode)); });
    // Each radio group is one stop of the Tab key, at its chosen button.
    for (QButtonGroup* group : {m_dieButtons, m_checkButtons}) {
        connect(group, &QButtonGroup::idToggled, this, [group] { KeepOneTabStop(group); });
    }
}

void MainWindow::connectCommands() {
    connect(m_ui->rollButton, &QPushButton::clicked, &m_model, &RollerModel::roll);
    connect(m_ui->rollIcon, &ClickableIcon::clicked, &m_model, &RollerModel::roll);
    connect(m_ui->clearButton, &QPushButton::clicked, &m_model, &RollerModel::clearEntries);
    connect(m_ui->checkButton, &QPushButton::clicked, &m_model, &RollerModel::check);
    connect(m_ui->cancelButton, &QPushButton::clicked, this, &MainWindow::reject);
    connect(m_ui->actionExit, &QAction::triggered, this, &MainWindow::reject);
    connectModelCommands();

    connect(m_ui->actionResultsNormalFormat, &QAction::triggered, this,
            [this] { m_services.tell(this, m_model.writeResults(ResultsFormat::kNormal)); });
    connect(m_ui->actionResultsNoText, &QAction::triggered, this,
            [this] { m_services.tell(this, m_model.writeResults(ResultsFormat::kNumbersOnly)); });
    connect(m_ui->actionSendToPrinter, &QAction::triggered, this, &MainWindow::sendToPrinter);
    connect(m_ui->actionSendToPrinterViaNotepad, &QAction::triggered, this,
            &MainWindow::sendToSpooler);
    connect(m_ui->actionStatistics, &QAction::triggered, this, &MainWindow::openStatistics);
    connect(m_ui->actionDiceTray, &QAction::triggered, this, &MainWindow::openDiceTray);
    connect(m_ui->actionHelpContents, &QAction::triggered, this, &MainWindow::showHelp);
    connect(m_ui->actionWebsite, &QAction::triggered, this, &MainWindow::openWebsite);
    connect(m_ui->actionAbout, &QAction::triggered, this, &MainWindow::showAbout);
    // F1 reaches the help through its menu item's shortcut anywhere in the
    // window, and through this filter while one of the menus is open.
    for (QMenu* menu : m_ui->menuBar->findChildren<QMenu*>()) {
        menu->installEventFilter(this);
    }
}

void MainWindow::connectModelCommands() {
    for (const MenuCommand& command : kMenuCommands) {
        connect((*m_ui).*command.item, &QAction::triggered, &m_model, command.run);
    }
    for (const MenuOption& option : kMenuOptions) {
        QAction* action = (*m_ui).*option.item;
        connect(action, &QAction::triggered, &m_model, option.set);
        m_optionActions.emplace_back(action, option.isOn);
    }
}

void MainWindow::connectModel() {
    connect(&m_model, &RollerModel::entryTextChanged, this, &MainWindow::showEntryText);
    connect(&m_model, &RollerModel::entryRejected, this, &MainWindow::showRejectedEntry);
    connect(&m_model, &RollerModel::descriptionChanged, this, [this](const QString& text) {
        m_ui->headerLine->setText(text);
        AnnounceTextChange(m_ui->headerLine);
    });
    connect(&m_model, &RollerModel::checkerLineChanged, this, [this](const QString& text) {
        m_ui->checkerLine->setText(text);
        AnnounceTextChange(m_ui->checkerLine);
    });
    connect(&m_model, &RollerModel::resultsTextChanged, this, &MainWindow::showResultsText);
    connect(&m_model, &RollerModel::dieIndexChanged, this, &MainWindow::showDie);
    connect(&m_model, &RollerModel::checkModeChanged, this, &MainWindow::showCheckMode);
    connect(&m_model, &RollerModel::optionsChanged, this, &MainWindow::showOptions);
}

void MainWindow::showModel() {
    for (const Entry entry : RollerModel::kEntries) {
        showEntryText(entry, m_model.entryText(entry));
    }
    showDie(m_model.dieIndex());
    showCheckMode(m_model.checkMode());
    showOptions();
    showResultsText(m_model.resultsText());
    m_ui->headerLine->setText(m_model.description());
    m_ui->checkerLine->setText(m_model.checkerLine());
}

void MainWindow::showEntryText(Entry entry, const QString& text) {
    const QSignalBlocker blocker(editOf(entry));
    editOf(entry)->setText(text);
}

void MainWindow::showRejectedEntry(Entry entry, const QString& message) {
    m_services.showValidationMessage(this, message);
    editOf(entry)->setFocus(Qt::OtherFocusReason);
    editOf(entry)->selectAll();
}

void MainWindow::showResultsText(const QString& text) {
    const QString shown = ToBoxLineEnds(text);
    if (m_ui->resultsBox->toPlainText() != shown) {
        const QSignalBlocker blocker(m_ui->resultsBox);
        m_ui->resultsBox->setPlainText(shown);
    }
}

void MainWindow::showDie(int index) {
    CheckButton(m_dieButtons, index);
    KeepOneTabStop(m_dieButtons);
}

void MainWindow::showCheckMode(CheckMode mode) {
    CheckButton(m_checkButtons, static_cast<int>(mode));
    KeepOneTabStop(m_checkButtons);
}

void MainWindow::showOptions() {
    for (const auto& [action, isOn] : m_optionActions) {
        action->setChecked((m_model.*isOn)());
    }
}

void MainWindow::openStatistics() {
    if (m_statsWindow.isNull()) {
        m_statsWindow = new StatsWindow(m_model, m_services, this);
        placeBeside(m_statsWindow);
    }
    m_statsWindow->show();
    m_statsWindow->raise();
    m_statsWindow->activateWindow();
}

void MainWindow::openDiceTray() {
    if (!m_trayModel) {
        m_trayModel = std::make_unique<DiceTrayModel>(DiceTrayModel::DataFolder());
    }
    if (m_trayWindow.isNull()) {
        m_trayWindow = new DiceTrayWindow(*m_trayModel, m_services, this);
        connect(m_trayWindow, &DiceTrayWindow::compareRequested, this,
                [this](const QString& expression) {
                    openStatistics();
                    m_statsWindow->compareWith(expression);
                });
        placeBeside(m_trayWindow);
    }
    m_trayWindow->show();
    m_trayWindow->raise();
    m_trayWindow->activateWindow();
}

// Beside the main window rather than over it: on the right if it fits, else
// on the left, else on the side with more room.
void MainWindow::placeBeside(QWidget* window) const {
    const QRect screen = this->screen()->availableGeometry();
    const QRect frame = frameGeometry();
    const int gap = std::max(8, style()->pixelMetric(QStyle::PM_LayoutHorizontalSpacing));
    const int width = window->frameGeometry().width();
    const int rightRoom = screen.right() - frame.right() - gap;
    const int leftRoom = frame.left() - screen.left() - gap;
    const int x = rightRoom >= width || rightRoom >= leftRoom ? frame.right() + gap
                                                              : frame.left() - gap - width;
    window->move(std::clamp(x, screen.left(), std::max(screen.left(), screen.right() - width)),
                 frame.top());
}

void MainWindow::sendToPrinter() {
    if (m_model.hasResults()) {
        PrintResults(m_services, this, m_model.results());
    }
}

void MainWindow::sendToSpooler() {
    if (!m_model.hasResults()) {
        return;
    }
    if (const Outcome written = m_model.writeResults(ResultsFormat::kNormal); !written.ok) {
        m_services.tell(this, written);
        return;
    }
    const QString path = QFileInfo(QString::fromLatin1(kResultsFileName)).absoluteFilePath();
    QPointer<MainWindow> self(this);
    m_services.spoolFile(this, path, [self](bool delivered) {
        if (!delivered && self) {
            self->m_services.showError(self, tr("Error while delivering file. Unable to print."));
        }
    });
}

void MainWindow::showAbout() {
    AboutDialog about(m_services, this);
    about.exec();
}

void MainWindow::openWebsite() {
    if (!m_services.openUrl(QUrl(QString::fromLatin1(kWebsiteUrl)))) {
        m_services.showError(this, tr("Could not open Alearo website."));
    }
}

void MainWindow::showHelp() {
    m_services.showHelp(this, QStringLiteral("contents"));
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_F1 &&
        qobject_cast<QMenu*>(watched) != nullptr) {
        // An open menu takes every key: it goes first, then the help opens.
        while (QWidget* popup = QApplication::activePopupWidget()) {
            popup->close();
        }
        showHelp();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void MainWindow::reject() {
    m_services.tell(this, m_model.close());
    if (!m_statsWindow.isNull()) {
        m_statsWindow->close();
    }
    QDialog::reject();
}

}  // namespace alearo
