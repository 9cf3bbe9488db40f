// SPDX-License-Identifier: MIT
#include "ui/windows/stats_window.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QShortcut>
#include <algorithm>

#include "ui/platform/platform_services.h"
#include "ui/widgets/accessibility.h"
#include "ui/widgets/distribution_chart.h"
#include "ui_stats_window.h"

namespace alearo {

namespace {

// A screen reader says a line's new text when it changes.
void ShowLine(QLabel* line, const QString& text) {
    if (line->text() != text) {
        line->setText(text);
        AnnounceTextChange(line);
    }
}

}  // namespace

StatsWindow::StatsWindow(const RollerModel& roller, PlatformServices& services, QWidget* parent)
    : QWidget(parent, Qt::Window),
      m_ui(std::make_unique<Ui::StatsWindow>()),
      m_services(services),
      m_model(roller) {
    m_ui->setupUi(this);
    m_ui->chanceTable->setModel(m_model.table());
    // The columns share the table's width, so that no column's numbers are
    // pushed to the far edge, and none is narrower than its heading or the
    // first rows' numbers.
    QHeaderView* header = m_ui->chanceTable->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Stretch);
    // (QTableView hides the view's public size hint of a column.)
    const QAbstractItemView* table = m_ui->chanceTable;
    const auto fitHeadings = [header, table] {
        int widest = 0;
        for (int column = 0; column < header->count(); ++column) {
            widest = std::max(
                {widest, header->sectionSizeHint(column), table->sizeHintForColumn(column)});
        }
        header->setMinimumSectionSize(widest);
    };
    connect(m_model.table(), &QAbstractItemModel::modelReset, this, fitHeadings);
    connect(m_model.table(), &QAbstractItemModel::headerDataChanged, this, fitHeadings);
    fitHeadings();
    // Ctrl+C in the "Compare with" box copies its selected text, and the
    // table when nothing is selected there.
    m_ui->compareEdit->installEventFilter(this);

    connect(m_ui->compareEdit, &QLineEdit::textChanged, &m_model,
            &StatisticsModel::setComparisonText);
    auto showHelp = [this] { m_services.showHelp(this, QStringLiteral("statistics")); };
    connect(m_ui->copyButton, &QPushButton::clicked, this, &StatsWindow::copyTable);
    connect(m_ui->saveButton, &QPushButton::clicked, this, &StatsWindow::saveTable);
    connect(m_ui->helpButton, &QPushButton::clicked, this, showHelp);
    connect(m_ui->closeButton, &QPushButton::clicked, this, &QWidget::close);
    const auto inWindow = Qt::WindowShortcut;
    connect(new QShortcut(QKeySequence::Copy, this, nullptr, nullptr, inWindow),
            &QShortcut::activated, this, &StatsWindow::copyTable);
    connect(new QShortcut(Qt::Key_Escape, this, nullptr, nullptr, inWindow), &QShortcut::activated,
            this, &QWidget::close);
    connect(new QShortcut(Qt::Key_F1, this, nullptr, nullptr, inWindow), &QShortcut::activated,
            this, showHelp);

    connect(&m_model, &StatisticsModel::changed, this, &StatsWindow::showModel);
    showModel();
}

StatsWindow::~StatsWindow() = default;

bool StatsWindow::eventFilter(QObject* watched, QEvent* event) {
    // Left to the window's shortcut, a copy with nothing selected copies the table.
    if (watched == m_ui->compareEdit && event->type() == QEvent::ShortcutOverride &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy) &&
        !m_ui->compareEdit->hasSelectedText()) {
        event->ignore();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void StatsWindow::showModel() {
    ShowLine(m_ui->descriptionLine, m_model.description());
    ShowLine(m_ui->summaryLine, m_model.summary());
    ShowLine(m_ui->comparisonSummaryLine, m_model.comparisonSummary());
    ShowLine(m_ui->comparisonErrorLine, m_model.comparisonError());
    ShowLine(m_ui->statusLine, m_model.status());
    ShowLine(m_ui->workingLine, m_model.working());
    for (QLabel* line : {m_ui->comparisonSummaryLine, m_ui->comparisonErrorLine, m_ui->statusLine,
                         m_ui->workingLine}) {
        line->setVisible(!line->text().isEmpty());
    }
    m_ui->chart->setData(m_model.chart());
    ShowLine(m_ui->checkerChanceLine, m_model.checkerChance());
    ShowLine(m_ui->fairnessLine, m_model.fairness());
}

void StatsWindow::compareWith(const QString& expression) {
    m_ui->compareEdit->setText(expression);
}

void StatsWindow::copyTable() {
    m_services.setClipboardText(m_model.tableText());
}

void StatsWindow::saveTable() {
    const QString path = m_services.chooseSaveFile(
        this, tr("Save Chances"), QStringLiteral("alearo-chances.csv"), tr("CSV files (*.csv)"));
    if (!path.isEmpty()) {
        m_services.tell(this, m_model.saveTable(path));
    }
}

}  // namespace alearo
