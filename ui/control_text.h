#pragma once

#include <QString>

class QWidget;

// The text of a line edit, a text box or a static text, whichever `control`
// is. Writing raises the control's change signal, as typing would.
QString ControlText(const QWidget* control);
void SetControlText(QWidget* control, const QString& text);
