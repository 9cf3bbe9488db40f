// SPDX-License-Identifier: MIT
#pragma once

#include <QIcon>

namespace alearo {

// The program's die picture (icon 128) in all its sizes: the window icon,
// the clickable icon on the form and the picture of the About box.
QIcon AppIcon();

}  // namespace alearo
