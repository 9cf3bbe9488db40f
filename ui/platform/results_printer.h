// SPDX-License-Identifier: MIT
#pragma once

#include <vector>

#include "engine/roll.h"

class QPrinter;
class QWidget;

namespace alearo {

class PlatformServices;

// How drawing the results page on a printer ended.
enum class PrintOutcome {
    kPrinted,
    kNotStarted,   // the job could not begin on the printer
    kNotFinished,  // the page could not be ended; the job was cancelled
};

// Prints the results page: the title and the result lines at the places the
// page layout gives, one logical unit being 0.1 mm from the top-left of the
// printable area, in a fixed-pitch font.
PrintOutcome DrawResultsPage(QPrinter& printer, const std::vector<RollResult>& results);

// Lets the player choose a printer and prints the results on one page. False
// when the choice was cancelled, true otherwise; a job that fails is
// reported to the player through `services`.
bool PrintResults(PlatformServices& services, QWidget* owner,
                  const std::vector<RollResult>& results);

}  // namespace alearo
