// SPDX-License-Identifier: MIT
#include "ui/windows/stats_window.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTableView>
#include <QVBoxLayout>

#include "ui/platform/platform_services.h"
#include "ui/widgets/accessibility.h"
#include "ui/widgets/distribution_chart.h"

namespace alearo {

namespace {

QLabel* AddLine(QVBoxLayout* layout, const QString& name) {
    auto* label = new QLabel;
    label->setObjectName(name);
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    layout->addWidget(label);
    return label;
}

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
      m_services(services),
      m_model(roller),
      m_compareEdit(new QLineEdit),
      m_chart(new DistributionChart),
      m_table(new QTableView) {
    setObjectName(QStringLiteral("statsWindow"));
    setWindowTitle(tr("Alearo Statistics"));
    auto* layout = new QVBoxLayout(this);
    auto* compareRow = new QHBoxLayout;
    auto* compareLabel = new QLabel(tr("Compare &with:"));
    m_compareEdit->setObjectName(QStringLiteral("compareEdit"));
    m_compareEdit->setPlaceholderText(tr("dice such as 2d20kh1+5"));
    compareLabel->setBuddy(m_compareEdit);
    compareRow->addWidget(compareLabel);
    compareRow->addWidget(m_compareEdit, 1);
    layout->addLayout(compareRow);
    m_comparisonError = AddLine(layout, QStringLiteral("comparisonErrorLine"));
    connect(m_compareEdit, &QLineEdit::textChanged, &m_model, &StatisticsModel::setComparisonText);
    m_description = AddLine(layout, QStringLiteral("descriptionLine"));
    QFont bold = m_description->font();
    bold.setBold(true);
    m_description->setFont(bold);
    m_summary = AddLine(layout, QStringLiteral("summaryLine"));
    m_comparisonSummary = AddLine(layout, QStringLiteral("comparisonSummaryLine"));
    m_status = AddLine(layout, QStringLiteral("statusLine"));
    m_chart->setObjectName(QStringLiteral("chart"));
    m_chart->setAccessibleName(tr("Chart of the chances"));
    m_chart->setAccessibleDescription(
        tr("A bar for the chance of each total. The lines above it and the table below it give "
           "the same numbers as text."));
    layout->addWidget(m_chart, 3);
    m_checker = AddLine(layout, QStringLiteral("checkerChanceLine"));
    m_fairness = AddLine(layout, QStringLiteral("fairnessLine"));

    m_table->setObjectName(QStringLiteral("chanceTable"));
    m_table->setAccessibleName(tr("Chance of every total"));
    m_table->setModel(m_model.table());
    m_table->verticalHeader()->hide();
    // Columns as wide as their header and the first rows need; the last
    // takes the room left.
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_table->horizontalHeader()->setResizeContentsPrecision(64);
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setTabKeyNavigation(false);
    layout->addWidget(m_table, 2);

    auto* buttons = new QDialogButtonBox;
    auto* copy = buttons->addButton(tr("&Copy"), QDialogButtonBox::ActionRole);
    auto* save = buttons->addButton(tr("&Save..."), QDialogButtonBox::ActionRole);
    auto* help = buttons->addButton(tr("&Help"), QDialogButtonBox::HelpRole);
    auto* close = buttons->addButton(tr("C&lose"), QDialogButtonBox::RejectRole);
    copy->setObjectName(QStringLiteral("copyButton"));
    save->setObjectName(QStringLiteral("saveButton"));
    help->setObjectName(QStringLiteral("helpButton"));
    close->setObjectName(QStringLiteral("closeButton"));
    layout->addWidget(buttons);

    auto showHelp = [this] { m_services.showHelp(this, QStringLiteral("statistics")); };
    connect(copy, &QPushButton::clicked, this, &StatsWindow::copyTable);
    connect(save, &QPushButton::clicked, this, &StatsWindow::saveTable);
    connect(help, &QPushButton::clicked, this, showHelp);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    const auto inWindow = Qt::WindowShortcut;
    connect(new QShortcut(QKeySequence::Copy, this, nullptr, nullptr, inWindow),
            &QShortcut::activated, this, &StatsWindow::copyTable);
    connect(new QShortcut(Qt::Key_Escape, this, nullptr, nullptr, inWindow), &QShortcut::activated,
            this, &QWidget::close);
    connect(new QShortcut(Qt::Key_F1, this, nullptr, nullptr, inWindow), &QShortcut::activated,
            this, showHelp);

    connect(&m_model, &StatisticsModel::changed, this, &StatsWindow::showModel);
    connect(&m_model, &StatisticsModel::errorOccurred, this,
            [this](const QString& message, const QString& reason) {
                m_services.showError(this, message, reason);
            });
    resize(720, 760);
    showModel();
}

void StatsWindow::showModel() {
    ShowLine(m_description, m_model.description());
    ShowLine(m_summary, m_model.summary());
    ShowLine(m_comparisonSummary, m_model.comparisonSummary());
    ShowLine(m_comparisonError, m_model.comparisonError());
    ShowLine(m_status, m_model.status());
    for (QLabel* line : {m_comparisonSummary, m_comparisonError, m_status}) {
        line->setVisible(!line->text().isEmpty());
    }
    m_chart->setData(m_model.chart());
    ShowLine(m_checker, m_model.checkerChance());
    ShowLine(m_fairness, m_model.fairness());
}

void StatsWindow::copyTable() {
    m_services.setClipboardText(m_model.tableText());
}

void StatsWindow::saveTable() {
    const QString path = m_services.chooseSaveFile(
        this, tr("Save Chances"), QStringLiteral("alearo-chances.csv"), tr("CSV files (*.csv)"));
    if (!path.isEmpty()) {
        m_model.saveTable(path);
    }
}

}  // namespace alearo
