#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include <QString>
#include <QtGlobal>

class QButtonGroup;
class QLineEdit;
class QWidget;

namespace alearo {

// Moves values between a form's controls and the fields they are bound to.
//
// The binding steps run in the order they were added, in both directions. A
// load stops at the first step that fails: the message is reported, the
// offending control gets the focus with its text selected, the fields of
// earlier steps keep their new values and those of later steps stay as they
// were. A number outside its range stays in its field as typed. A store
// writes every field and never lets the controls' change signals through.
class FormExchange {
  public:
    using Reporter = std::function<void(const QString& message)>;

    explicit FormExchange(Reporter reportInvalid);
    // The binding steps keep pointers to the fields and to this object.
    Q_DISABLE_COPY_MOVE(FormExchange)

    // The checked button's index in the group, or -1 when none is checked.
    void BindRadio(QButtonGroup* group, int& field);
    void BindText(QWidget* control, std::string& field);
    // A signed 16-bit number, checked against min to max on load.
    void BindNumber(QLineEdit* control, std::int16_t& field, int min, int max);

    // true: load from the controls, with validation; false: store into them.
    bool UpdateData(bool saveAndValidate);

    bool Load();
    void Store();

    // True while a store writes the controls: what they report then is the
    // program's own writing, not the user's.
    bool Storing() const { return m_storing; }

    // Radio buttons of a group, checked by index; -1 unchecks them all.
    static int CheckedIndex(const QButtonGroup* group);
    static void CheckIndex(QButtonGroup* group, int index);

  private:
    struct Step {
        std::function<bool()> load;
        std::function<void()> store;
    };

    bool Fail(QWidget* control, const QString& message);

    Reporter m_reportInvalid;
    std::vector<Step> m_steps;
    bool m_storing = false;
};

}  // namespace alearo
