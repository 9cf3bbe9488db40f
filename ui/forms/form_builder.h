#pragma once

#include <QHash>
#include <QWidget>
#include <vector>

#include "ui/forms/control_table.h"

class QButtonGroup;
class QDialog;
class QMenuBar;
class QIcon;
class QWidget;

namespace alearo {

class DialogUnits;

// The widgets made from a form's table.
struct BuiltForm {
    // The control with this id as the widget it must be; a wrong id or kind
    // stops a debug build here instead of handing out a null pointer.
    template <class Widget>
    Widget* Control(int id) const {
        auto* control = qobject_cast<Widget*>(controls.value(id));
        Q_ASSERT_X(control != nullptr, "BuiltForm::Control", "no control of that kind");
        return control;
    }

    QHash<int, QWidget*> controls;          // by control id
    QHash<int, QButtonGroup*> radioGroups;  // by the id of the group's first button
    std::vector<QWidget*> inTemplateOrder;  // every widget made, labels included
};

// Turns each control of `spec` into a widget on `page`, placed through
// `units`, in template order (which Qt's focus chain follows as tab order).
// Radio buttons from one that starts a group up to the next control that
// starts a group form one exclusive group. A label with a mnemonic moves
// the focus to the control after it; an up-down control takes the edit
// before it as its buddy and sits at that edit's right edge.
BuiltForm BuildForm(const FormSpec& spec, QWidget* page, const DialogUnits& units,
                    const QIcon& icon);

// Gives `dialog` its caption and a fixed-size page holding the form's
// controls, sized through the dialog's font, under `menuBar` if it has one.
BuiltForm BuildDialogForm(QDialog& dialog, const FormSpec& spec, const QIcon& icon,
                          QMenuBar* menuBar = nullptr);

}  // namespace alearo
