#pragma once

#include "ui/forms/control_table.h"

namespace alearo {

// One-letter names that keep a form table's rows on one line each. Only the
// table files include this.
namespace form_table {
using K = ControlKind;
inline constexpr unsigned G = kStyleGroup;
inline constexpr unsigned T = kStyleTabStop;
inline constexpr unsigned B = kStyleBorder;
inline constexpr unsigned C = kStyleCentred;
inline constexpr unsigned R = kStyleRight;
inline constexpr unsigned N = kStyleDigitsOnly;
inline constexpr unsigned E = kStyleStaticEdge;
inline constexpr unsigned V = kStyleVCentred;
}  // namespace form_table

}  // namespace alearo
