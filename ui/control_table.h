#pragma once

#include <vector>

// How a control of a form is described before it becomes a widget: the
// layout is data, so that the window can be checked line by line against
// its design.
enum class ControlKind {
    GroupBox,
    Label,
    Edit,
    UpDown,
    RadioButton,
    PushButton,
    DefaultPushButton,
    StaticText,
    ResultsBox,
    Icon,
};

// Style marks of a control.
enum ControlStyle : unsigned {
    kStyleNone = 0,
    kStyleGroup = 1U << 0,       // starts a new group (ends a radio group)
    kStyleTabStop = 1U << 1,     // reached with Tab
    kStyleBorder = 1U << 2,      // thin frame
    kStyleCentred = 1U << 3,     // text centred horizontally
    kStyleRight = 1U << 4,       // text right-aligned
    kStyleDigitsOnly = 1U << 5,  // accepts only the digits 0 to 9
    kStyleStaticEdge = 1U << 6,  // sunken frame of an item that takes no input
    kStyleVCentred = 1U << 7,    // text centred vertically
};

struct ControlSpec {
    int id;  // -1 for a label no code addresses
    ControlKind kind;
    const char* caption;
    unsigned style;
    int x, y, width, height;  // dialog units
    const char* name;         // object and accessible name of the widget
};

struct FormSpec {
    const char* caption;
    int width, height;                  // dialog units
    std::vector<ControlSpec> controls;  // template order, which is also the tab order
};

// The main window.
const FormSpec& MainFormSpec();

// The About box.
const FormSpec& AboutFormSpec();

// Control ids of the main window.
namespace control_id {
inline constexpr int kCheck = 3;
inline constexpr int kCancel = 2;
inline constexpr int kRolls = 1001;
inline constexpr int kDice = 1004;
inline constexpr int kRoll = 1007;
inline constexpr int kD4 = 1008;
inline constexpr int kD100 = 1014;
inline constexpr int kResults = 1017;
inline constexpr int kEachModifier = 1018;
inline constexpr int kTotalModifier = 1019;
inline constexpr int kClear = 1021;
inline constexpr int kHeader = 1022;
inline constexpr int kGreaterThan = 1030;
inline constexpr int kLessThan = 1031;
inline constexpr int kCheckTarget = 1032;
inline constexpr int kEqualTo = 1033;
inline constexpr int kCheckerLine = 1034;
inline constexpr int kEachModifierUpDown = 1041;
inline constexpr int kRollsUpDown = 1042;
inline constexpr int kDiceUpDown = 1043;
inline constexpr int kTotalModifierUpDown = 1044;
inline constexpr int kRollIcon = 1047;
}  // namespace control_id
