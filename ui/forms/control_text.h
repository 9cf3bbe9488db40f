#pragma once

#include <QString>

class QWidget;

namespace alearo {

// The text of a line edit, a text box or a static text, whichever `control`
// is. Writing a different text raises the control's change signal, as typing
// would; writing the same text changes nothing and returns false.
QString ControlText(const QWidget* control);
bool SetControlText(QWidget* control, const QString& text);

}  // namespace alearo
