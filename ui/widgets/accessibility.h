// SPDX-License-Identifier: MIT
#pragma once

#include <functional>

class QWidget;

namespace alearo {

// Keeps the program's own helper controls out of what assistive tools read:
// the up-down arrows, whose box carries the value and answers the Up and
// Down keys, and the die pictures, which repeat the Roll button and the
// window's name; and shows the help, statistics and dice tray windows as
// windows.
// Safe to call more than once.
void InstallAccessibleInterfaces();

// Tells assistive tools that the text of a static line has changed, so that
// a screen reader can say the new description or count.
void AnnounceTextChange(QWidget* line);

// Qt passes announcements on only while an assistive tool listens; a test
// watches them here instead. An empty function stops the watching.
void WatchAnnouncements(std::function<void(QWidget* line)> watcher);

}  // namespace alearo
