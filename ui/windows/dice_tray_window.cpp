// SPDX-License-Identifier: MIT
#include "ui/windows/dice_tray_window.h"

#include <QCompleter>
#include <QKeyEvent>
#include <QScrollBar>
#include <QShortcut>

#include "ui/model/dice_tray_model.h"
#include "ui/platform/platform_services.h"
#include "ui/widgets/accessibility.h"
#include "ui/widgets/history_delegate.h"
#include "ui_dice_tray_window.h"

namespace alearo {

namespace {

constexpr int kNumberedRolls = 9;  // Ctrl+1 to Ctrl+9

}  // namespace

DiceTrayWindow::DiceTrayWindow(DiceTrayModel& model, PlatformServices& services, QWidget* parent)
    : QWidget(parent, Qt::Window),
      m_ui(std::make_unique<Ui::DiceTrayWindow>()),
      m_model(model),
      m_services(services) {
    m_ui->setupUi(this);
    m_ui->historyView->setModel(m_model.history());
    m_ui->historyView->setItemDelegate(new HistoryDelegate(m_ui->historyView));
    m_filtered.setSourceModel(m_model.saved());
    m_filtered.setFilterCaseSensitivity(Qt::CaseInsensitive);
    m_filtered.setFilterRole(Qt::AccessibleTextRole);
    m_ui->savedView->setModel(&m_filtered);
    m_ui->savedView->setDragDropMode(QAbstractItemView::InternalMove);
    m_ui->savedView->setDefaultDropAction(Qt::MoveAction);
    auto* completer = new QCompleter(m_model.recentExpressions(), this);
    completer->setCaseSensitivity(Qt::CaseInsensitive);
    m_ui->expressionEdit->setCompleter(completer);
    m_ui->expressionErrorLine->hide();
    for (QWidget* list :
         {static_cast<QWidget*>(m_ui->historyView), static_cast<QWidget*>(m_ui->savedView)}) {
        list->installEventFilter(this);
    }
    connectControls();
    m_ui->historyView->scrollToBottom();
    showStoreStatus(m_model.storeStatus());
}

DiceTrayWindow::~DiceTrayWindow() = default;

// What happened to the file of rolls, in the status line rather than in a
// box that would take the keys the player types next.
void DiceTrayWindow::showStoreStatus(const QString& status) {
    m_ui->storeStatusLine->setText(status);
    m_ui->storeStatusLine->setVisible(!status.isEmpty());
}

void DiceTrayWindow::connectControls() {
    connect(m_ui->rollButton, &QPushButton::clicked, this, &DiceTrayWindow::roll);
    connect(m_ui->expressionEdit, &QLineEdit::returnPressed, this, &DiceTrayWindow::roll);
    connect(m_ui->labelEdit, &QLineEdit::returnPressed, this, &DiceTrayWindow::roll);
    connect(&m_model, &DiceTrayModel::expressionErrorChanged, this, [this](const QString& error) {
        m_ui->expressionErrorLine->setText(error);
        m_ui->expressionErrorLine->setVisible(!error.isEmpty());
        AnnounceTextChange(m_ui->expressionErrorLine);
    });
    connect(&m_model, &DiceTrayModel::rolled, this, &DiceTrayWindow::showRolled);
    connect(&m_model, &DiceTrayModel::historyExported, this,
            [this](const Outcome& written) { m_services.tell(this, written); });
    connect(&m_model, &DiceTrayModel::storeOpenedChanged, m_ui->historyView,
            &QListView::scrollToBottom);
    connect(&m_model, &DiceTrayModel::storeStatusChanged, this, [this](const QString& status) {
        showStoreStatus(status);
        AnnounceTextChange(m_ui->storeStatusLine);
    });

    // Older rolls come in when the history is scrolled to its top, keeping
    // in view what was there.
    QScrollBar* scrollBar = m_ui->historyView->verticalScrollBar();
    connect(scrollBar, &QScrollBar::valueChanged, this, [this, scrollBar](int value) {
        HistoryModel* history = m_model.history();
        if (value == scrollBar->minimum() && history->canFetchOlder()) {
            const int fromBottom = scrollBar->maximum() - value;
            history->fetchOlder();
            m_ui->historyView->doItemsLayout();
            scrollBar->setValue(scrollBar->maximum() - fromBottom);
        }
    });
    // A double-click rolls (Enter too, in eventFilter), not "activated",
    // which some styles send for a single click that only chooses.
    connect(m_ui->historyView, &QListView::doubleClicked, this,
            [this](const QModelIndex& index) { m_model.rollAgain(index.row()); });
    connect(m_ui->rollAgainButton, &QPushButton::clicked, this,
            [this] { m_model.rollAgain(historyRow()); });
    connect(m_ui->copyEntryButton, &QPushButton::clicked, this, [this] {
        if (historyRow() >= 0) {
            m_services.setClipboardText(m_model.entryText(historyRow()));
        }
    });
    connect(m_ui->saveEntryButton, &QPushButton::clicked, this, &DiceTrayWindow::saveEntry);
    connect(m_ui->compareButton, &QPushButton::clicked, this, [this] {
        if (historyRow() >= 0) {
            emit compareRequested(m_model.history()->entry(historyRow()).expression);
        }
    });
    connect(m_ui->exportHistoryButton, &QPushButton::clicked, this, &DiceTrayWindow::exportHistory);
    connect(m_ui->clearHistoryButton, &QPushButton::clicked, this, &DiceTrayWindow::clearHistory);

    connect(m_ui->savedView, &QListView::doubleClicked, this, [this](const QModelIndex& index) {
        m_model.rollSaved(m_filtered.mapToSource(index).row());
    });
    connect(m_ui->filterEdit, &QLineEdit::textChanged, &m_filtered,
            &QSortFilterProxyModel::setFilterFixedString);
    connect(m_ui->addSavedButton, &QPushButton::clicked, this, &DiceTrayWindow::addSaved);
    connect(m_ui->renameSavedButton, &QPushButton::clicked, this, &DiceTrayWindow::renameSaved);
    connect(m_ui->editSavedButton, &QPushButton::clicked, this, &DiceTrayWindow::editSaved);
    connect(m_ui->deleteSavedButton, &QPushButton::clicked, this, &DiceTrayWindow::deleteSaved);
    connect(m_ui->importButton, &QPushButton::clicked, this, &DiceTrayWindow::importSaved);
    connect(m_ui->exportSavedButton, &QPushButton::clicked, this, &DiceTrayWindow::exportSaved);
    const auto showHelp = [this] { m_services.showHelp(this, QStringLiteral("tray")); };
    connect(m_ui->helpButton, &QPushButton::clicked, this, showHelp);
    connect(m_ui->closeButton, &QPushButton::clicked, this, &QWidget::close);

    const auto inWindow = Qt::WindowShortcut;
    const auto shortcut = [this, inWindow](const QKeySequence& keys, auto handler) {
        connect(new QShortcut(keys, this, nullptr, nullptr, inWindow), &QShortcut::activated, this,
                handler);
    };
    for (int n = 1; n <= kNumberedRolls; ++n) {
        shortcut(QKeySequence(Qt::CTRL | static_cast<Qt::Key>(Qt::Key_0 + n)), [this, n] {
            m_model.rollSaved(m_filtered.mapToSource(m_filtered.index(n - 1, 0)).row());
        });
    }
    shortcut(QKeySequence::Undo, [this] { m_model.undoRemoveSaved(); });
    shortcut(QKeySequence(Qt::Key_Escape), [this] { close(); });
    shortcut(QKeySequence(Qt::Key_F1), showHelp);
}

// Enter rolls the chosen entry or saved roll (the views' own "activated" comes
// only with a click on some styles), Alt+Up and Alt+Down move a saved roll,
// and Delete removes it.
bool DiceTrayWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) {
        return QWidget::eventFilter(watched, event);
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    if (watched == m_ui->historyView && enter) {
        m_model.rollAgain(historyRow());
        return true;
    }
    if (watched == m_ui->savedView) {
        if (enter) {
            m_model.rollSaved(savedRow());
            return true;
        }
        if (key->modifiers() == Qt::AltModifier &&
            (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down)) {
            moveSaved(key->key() == Qt::Key_Up ? -1 : 1);
            return true;
        }
        if (key->key() == Qt::Key_Delete) {
            deleteSaved();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void DiceTrayWindow::roll() {
    m_model.roll(m_ui->expressionEdit->text(), m_ui->labelEdit->text());
}

int DiceTrayWindow::historyRow() const {
    const QModelIndex current = m_ui->historyView->currentIndex();
    return current.isValid() ? current.row() : -1;
}

int DiceTrayWindow::savedRow() const {
    const QModelIndex current = m_ui->savedView->currentIndex();
    return current.isValid() ? m_filtered.mapToSource(current).row() : -1;
}

void DiceTrayWindow::showRolled(const QString& sentence) {
    m_ui->lastRollLine->setText(sentence);
    AnnounceTextChange(m_ui->lastRollLine);
    m_ui->historyView->scrollToBottom();
    m_ui->historyView->setCurrentIndex(m_model.history()->index(m_model.history()->rowCount() - 1));
}

void DiceTrayWindow::saveEntry() {
    m_model.saveEntry(historyRow());
}

void DiceTrayWindow::addSaved() {
    m_model.saveTyped(m_ui->expressionEdit->text(), m_ui->labelEdit->text());
}

void DiceTrayWindow::renameSaved() {
    const int row = savedRow();
    if (row < 0) {
        return;
    }
    const QString name =
        m_services.askText(this, tr("New name of the saved roll:"), m_model.savedRoll(row).name);
    if (!name.trimmed().isEmpty()) {
        m_model.renameSaved(row, name.trimmed());
    }
}

void DiceTrayWindow::editSaved() {
    const int row = savedRow();
    if (row < 0) {
        return;
    }
    QString expression = m_model.savedRoll(row).expression;
    // Asked again until it reads, or the player gives up.
    while (true) {
        expression = m_services.askText(this, tr("Dice of the saved roll:"), expression);
        if (expression.isNull()) {
            return;
        }
        const QString problem = DiceTrayModel::ProblemOf(expression);
        if (problem.isEmpty()) {
            break;
        }
        m_services.showValidationMessage(this, problem);
    }
    m_model.editSaved(row, expression.trimmed());
}

void DiceTrayWindow::deleteSaved() {
    m_model.removeSaved(savedRow());
}

void DiceTrayWindow::moveSaved(int by) {
    const int row = savedRow();
    // While filtered, the rows shown are not the list's order.
    if (row >= 0 && m_ui->filterEdit->text().isEmpty() && m_model.moveSaved(row, row + by)) {
        m_ui->savedView->setCurrentIndex(m_filtered.index(row + by, 0));
    }
}

void DiceTrayWindow::importSaved() {
    const QString path =
        m_services.chooseOpenFile(this, tr("Import Saved Rolls"), tr("Saved rolls (*.json)"));
    if (path.isEmpty()) {
        return;
    }
    const Outcome report =
        m_model.importSaved(path, [this](const SavedRoll& kept, const SavedRoll& imported) {
            const int answer = m_services.ask(
                this,
                tr("A saved roll named \"%1\" is already there (%2). Replace it with %3, keep "
                   "both, or skip the one imported?")
                    .arg(kept.name, kept.expression, imported.expression),
                // In the order of DiceTrayModel::Clash.
                {tr("&Replace"), tr("&Keep Both"), tr("&Skip")},
                static_cast<int>(DiceTrayModel::Clash::kSkip));
            return answer >= 0 && answer <= static_cast<int>(DiceTrayModel::Clash::kSkip)
                       ? static_cast<DiceTrayModel::Clash>(answer)
                       : DiceTrayModel::Clash::kSkip;
        });
    m_services.tell(this, report);
}

void DiceTrayWindow::exportSaved() {
    const QString path = m_services.chooseSaveFile(this, tr("Export Saved Rolls"),
                                                   QStringLiteral("alearo-saved-rolls.json"),
                                                   tr("Saved rolls (*.json)"));
    if (!path.isEmpty()) {
        m_services.tell(this, m_model.exportSaved(path));
    }
}

// Written on the store's thread: historyExported() tells how it went.
void DiceTrayWindow::exportHistory() {
    const QString path = m_services.chooseSaveFile(
        this, tr("Export History"), QStringLiteral("alearo-history.csv"), tr("CSV files (*.csv)"));
    if (!path.isEmpty()) {
        m_model.exportHistory(path);
    }
}

void DiceTrayWindow::clearHistory() {
    if (m_model.history()->rowCount() > 0 &&
        m_services.ask(this, tr("Remove every roll from the history? This cannot be undone."),
                       {tr("Clear &History"), tr("&Cancel")}, 1) == 0) {
        m_model.clearHistory();
    }
}

}  // namespace alearo
