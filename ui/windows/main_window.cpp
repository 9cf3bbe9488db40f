// SPDX-License-Identifier: MIT
#include "ui/windows/main_window.h"

#include <QApplication>
#include <QButtonGroup>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMenu>
#include <QMetaMethod>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QSignalBlocker>
#include <QStyle>
#include <QUrl>
#include <algorithm>
#include <memory>
#include <utility>

#include "ui/platform/links.h"
#include "ui/platform/platform_services.h"
#include "ui/platform/results_printer.h"
#include "ui/widgets/accessibility.h"
#include "ui/windows/about_dialog.h"
#include "ui/windows/app_icon.h"
#include "ui/windows/stats_window.h"
#include "ui_main_window.h"

namespace alearo {

namespace {

constexpr int kIconPixels = 32;

// The results box shows plain line feeds; the results keep CR LF between lines.
QString ToBoxLineEnds(QString text) {
    return text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
}

QString FromBoxLineEnds(QString text) {
    return text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
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

}  // namespace

MainWindow::MainWindow(PlatformServices& services, QWidget* parent)
    : QDialog(parent),
      ui(std::make_unique<Ui::MainWindow>()),
      m_services(services),
      m_dieButtons(new QButtonGroup(this)),
      m_checkButtons(new QButtonGroup(this)) {
    ui->setupUi(this);
    layout()->setMenuBar(ui->menuBar);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    InstallAccessibleInterfaces();
    const QIcon icon = AppIcon();
    setWindowIcon(icon);
    ui->rollIcon->setPixmap(icon.pixmap(kIconPixels, kIconPixels));
    QTextOption centred = ui->resultsBox->document()->defaultTextOption();
    centred.setAlignment(Qt::AlignHCenter);
    ui->resultsBox->document()->setDefaultTextOption(centred);

    int id = 0;
    for (QAbstractButton* die : {ui->d4Radio, ui->d6Radio, ui->d8Radio, ui->d10Radio, ui->d12Radio,
                                 ui->d20Radio, ui->d100Radio}) {
        m_dieButtons->addButton(die, id++);
    }
    m_checkButtons->addButton(ui->greaterThanRadio, static_cast<int>(CheckMode::AtLeast));
    m_checkButtons->addButton(ui->lessThanRadio, static_cast<int>(CheckMode::AtMost));
    m_checkButtons->addButton(ui->equalToRadio, static_cast<int>(CheckMode::Equal));

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
    // The statistics window, a child destroyed after the members, reads the model.
    delete m_statsWindow;
}

QLineEdit* MainWindow::editOf(Entry entry) const {
    switch (entry) {
        case Entry::Rolls:
            return ui->rollsEdit;
        case Entry::Dice:
            return ui->diceEdit;
        case Entry::EachModifier:
            return ui->eachModifierEdit;
        case Entry::TotalModifier:
            return ui->totalModifierEdit;
        case Entry::CheckTarget:
            break;
    }
    return ui->checkTargetEdit;
}

UpDown* MainWindow::upDownOf(Entry entry) const {
    switch (entry) {
        case Entry::Rolls:
            return ui->rollsUpDown;
        case Entry::Dice:
            return ui->diceUpDown;
        case Entry::EachModifier:
            return ui->eachModifierUpDown;
        case Entry::TotalModifier:
            return ui->totalModifierUpDown;
        case Entry::CheckTarget:
            break;
    }
    return nullptr;
}

void MainWindow::connectEntries() {
    for (const Entry entry : RollerModel::kEntries) {
        QLineEdit* edit = editOf(entry);
        edit->setAccessibleName(RollerModel::nameOf(entry));
        const Range range = RollerModel::rangeOf(entry);
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
    connect(ui->resultsBox, &QTextEdit::textChanged, this,
            [this] { m_model.setResultsText(FromBoxLineEnds(ui->resultsBox->toPlainText())); });
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
    connect(ui->rollButton, &QPushButton::clicked, &m_model, &RollerModel::roll);
    connect(ui->rollIcon, &ClickableIcon::clicked, &m_model, &RollerModel::roll);
    connect(ui->clearButton, &QPushButton::clicked, &m_model, &RollerModel::clearEntries);
    connect(ui->checkButton, &QPushButton::clicked, &m_model, &RollerModel::check);
    connect(ui->cancelButton, &QPushButton::clicked, this, &MainWindow::reject);
    connect(ui->actionExit, &QAction::triggered, this, &MainWindow::reject);
    connectModelCommands();

    connect(ui->actionResultsNormalFormat, &QAction::triggered, this,
            [this] { m_model.writeResults(ResultsFormat::Normal); });
    connect(ui->actionResultsNoText, &QAction::triggered, this,
            [this] { m_model.writeResults(ResultsFormat::NumbersOnly); });
    connect(ui->actionSendToPrinter, &QAction::triggered, this, &MainWindow::sendToPrinter);
    connect(ui->actionSendToPrinterViaNotepad, &QAction::triggered, this,
            &MainWindow::sendToSpooler);
    connect(ui->actionStatistics, &QAction::triggered, this, &MainWindow::openStatistics);
    connect(ui->actionHelpContents, &QAction::triggered, this, &MainWindow::showHelp);
    connect(ui->actionWebsite, &QAction::triggered, this, &MainWindow::openWebsite);
    connect(ui->actionAbout, &QAction::triggered, this, &MainWindow::showAbout);
    // F1 reaches the help through its menu item's shortcut anywhere in the
    // window, and through this filter while one of the menus is open.
    for (QMenu* menu : ui->menuBar->findChildren<QMenu*>()) {
        menu->installEventFilter(this);
    }
}

// A menu command "actionFooBar" runs the model's slot fooBar(), and a
// checkable one sets and shows the model's property fooBar, so a command the
// model carries out needs no wiring of its own here.
void MainWindow::connectModelCommands() {
    const QMetaObject* model = m_model.metaObject();
    for (QAction* action : findChildren<QAction*>(QString(), Qt::FindDirectChildrenOnly)) {
        QString member = action->objectName().mid(int(qstrlen("action")));
        if (!action->objectName().startsWith(QLatin1String("action")) || member.isEmpty()) {
            continue;
        }
        member[0] = member[0].toLower();
        // Only the model's own members: an inherited slot such as deleteLater
        // is no command.
        if (action->isCheckable()) {
            const int index = model->indexOfProperty(member.toLatin1().constData());
            if (index >= model->propertyOffset()) {
                const QMetaProperty property = model->property(index);
                connect(action, &QAction::triggered, this,
                        [this, property](bool on) { property.write(&m_model, on); });
                m_optionActions.emplace_back(action, property);
            }
        } else if (const int slot = model->indexOfSlot((member + QLatin1String("()")).toLatin1());
                   slot >= model->methodOffset()) {
            connect(action, QMetaMethod::fromSignal(&QAction::triggered), &m_model,
                    model->method(slot));
        }
    }
}

void MainWindow::connectModel() {
    connect(&m_model, &RollerModel::entryTextChanged, this, &MainWindow::showEntryText);
    connect(&m_model, &RollerModel::entryRejected, this, &MainWindow::showRejectedEntry);
    connect(&m_model, &RollerModel::descriptionChanged, this, [this](const QString& text) {
        ui->headerLine->setText(text);
        AnnounceTextChange(ui->headerLine);
    });
    connect(&m_model, &RollerModel::checkerLineChanged, this, [this](const QString& text) {
        ui->checkerLine->setText(text);
        AnnounceTextChange(ui->checkerLine);
    });
    connect(&m_model, &RollerModel::resultsTextChanged, this, &MainWindow::showResultsText);
    connect(&m_model, &RollerModel::dieIndexChanged, this, &MainWindow::showDie);
    connect(&m_model, &RollerModel::checkModeChanged, this, &MainWindow::showCheckMode);
    connect(&m_model, &RollerModel::optionsChanged, this, &MainWindow::showOptions);
    connect(&m_model, &RollerModel::errorOccurred, this,
            [this](const QString& message, const QString& reason) {
                m_services.showError(this, message, reason);
            });
}

void MainWindow::showModel() {
    for (const Entry entry : RollerModel::kEntries) {
        showEntryText(entry, m_model.entryText(entry));
    }
    showDie(m_model.dieIndex());
    showCheckMode(m_model.checkMode());
    showOptions();
    showResultsText(m_model.resultsText());
    ui->headerLine->setText(m_model.description());
    ui->checkerLine->setText(m_model.checkerLine());
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
    if (ui->resultsBox->toPlainText() != shown) {
        const QSignalBlocker blocker(ui->resultsBox);
        ui->resultsBox->setPlainText(shown);
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
    for (const auto& [action, property] : m_optionActions) {
        action->setChecked(property.read(&m_model).toBool());
    }
}

void MainWindow::openStatistics() {
    if (m_statsWindow.isNull()) {
        m_statsWindow = new StatsWindow(m_model, m_services, this);
        // Beside the main window rather than over it: on the right if it fits,
        // else on the left, else on the side with more room.
        const QRect screen = this->screen()->availableGeometry();
        const QRect frame = frameGeometry();
        const int gap = std::max(8, style()->pixelMetric(QStyle::PM_LayoutHorizontalSpacing));
        const int width = m_statsWindow->frameGeometry().width();
        const int rightRoom = screen.right() - frame.right() - gap;
        const int leftRoom = frame.left() - screen.left() - gap;
        const int x = rightRoom >= width || rightRoom >= leftRoom ? frame.right() + gap
                                                                  : frame.left() - gap - width;
        m_statsWindow->move(
            std::clamp(x, screen.left(), std::max(screen.left(), screen.right() - width)),
            frame.top());
    }
    m_statsWindow->show();
    m_statsWindow->raise();
    m_statsWindow->activateWindow();
}

void MainWindow::sendToPrinter() {
    if (m_model.hasResults()) {
        PrintResults(m_services, this, m_model.results());
    }
}

void MainWindow::sendToSpooler() {
    if (!m_model.writeResults(ResultsFormat::Normal)) {
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
    m_model.close();
    if (!m_statsWindow.isNull()) {
        m_statsWindow->close();
    }
    QDialog::reject();
}

}  // namespace alearo
