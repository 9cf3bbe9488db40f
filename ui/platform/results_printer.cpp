// SPDX-License-Identifier: MIT
#include "ui/platform/results_printer.h"

#include <QCoreApplication>
#include <QFontDatabase>
#include <QPainter>
#include <QPrinter>

#include "output/page_layout.h"
#include "ui/platform/platform_services.h"

namespace alearo {

namespace {

constexpr const char* kJobName = "Alearo Results: Printing";
constexpr double kUnitsPerInch = 254.0;  // a unit is 0.1 mm
// Rows are 40 units (4 mm) apart; a 3 mm font leaves room between them.
constexpr int kFontHeightUnits = 30;

}  // namespace

PrintOutcome DrawResultsPage(QPrinter& printer, const std::vector<RollResult>& results) {
    printer.setDocName(QString::fromLatin1(kJobName));
    QPainter painter;
    if (!painter.begin(&printer)) {
        return PrintOutcome::kNotStarted;
    }
    // The painter starts at the top-left of the printable area in device
    // pixels; from here on a unit is 0.1 mm, and the layout's y, which runs
    // negative down the page, is turned round.
    const double pixelsPerUnit = printer.resolution() / kUnitsPerInch;
    painter.scale(pixelsPerUnit, pixelsPerUnit);

    // The result lines are aligned with spaces, so the font is fixed-pitch.
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setStyleHint(QFont::TypeWriter);
    font.setPixelSize(kFontHeightUnits);
    painter.setFont(font);
    const int ascent = painter.fontMetrics().ascent();

    for (const PageItem& item : LayoutResultsPage(results)) {
        // A layout point is the top-left of its text; drawText wants the baseline.
        painter.drawText(QPointF(item.x, -item.y + ascent), QString::fromStdString(item.text));
    }
    if (!painter.end()) {
        printer.abort();
        return PrintOutcome::kNotFinished;
    }
    return PrintOutcome::kPrinted;
}

bool PrintResults(PlatformServices& services, QWidget* owner,
                  const std::vector<RollResult>& results) {
    std::unique_ptr<QPrinter> printer = services.choosePrinter(owner);
    if (!printer) {
        return false;
    }
    if (DrawResultsPage(*printer, results) != PrintOutcome::kPrinted) {
        // Silence here would leave the player waiting for a page that never comes.
        services.showError(
            owner, QCoreApplication::translate("alearo", "Error while printing. Unable to print."));
    }
    return true;
}

}  // namespace alearo
