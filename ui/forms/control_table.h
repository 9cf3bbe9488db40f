#pragma once

#include <vector>

namespace alearo {

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
    const char* name;         // object name of the widget
};

struct FormSpec {
    const char* caption;
    int width, height;                  // dialog units
    std::vector<ControlSpec> controls;  // template order, which is also the tab order
};

}  // namespace alearo
