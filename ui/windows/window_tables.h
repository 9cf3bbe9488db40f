#pragma once

#include <vector>

#include "ui/forms/control_table.h"
#include "ui/forms/menu_table.h"

namespace alearo {

// The main window's form and menu bar, and the About box's form.
const FormSpec& MainFormSpec();
const std::vector<MenuLine>& MainMenuLines();
const FormSpec& AboutFormSpec();

}  // namespace alearo
