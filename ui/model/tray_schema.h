// SPDX-License-Identifier: MIT
#pragma once

#include <QLatin1String>
#include <QStringList>
#include <vector>

namespace alearo::tray_schema {

// The dice tray's file: its tables and columns by name, and the steps that
// bring a file of any earlier version up to this one. A file keeps its
// version in PRAGMA user_version.
inline constexpr int kVersion = 3;

namespace history {
inline constexpr QLatin1String kTable{"history"};
inline constexpr QLatin1String kId{"id"};
inline constexpr QLatin1String kTime{"time"};  // ISO 8601, UTC, with milliseconds
inline constexpr QLatin1String kLabel{"label"};
inline constexpr QLatin1String kExpression{"expression"};
inline constexpr QLatin1String kTotal{"total"};
inline constexpr QLatin1String kDice{"dice"};
inline constexpr QLatin1String kSpoken{"spoken"};
inline constexpr QLatin1String kAtLeast{"at_least"};
inline constexpr QLatin1String kAtMost{"at_most"};
// A roll with "vs": "hit", "miss", "win", "tie" or "loss" (empty without),
// the opponent's total, and the chance of each verdict (below 0 until known).
inline constexpr QLatin1String kVerdict{"verdict"};
inline constexpr QLatin1String kOpponentTotal{"opponent_total"};
inline constexpr QLatin1String kWin{"win"};
inline constexpr QLatin1String kTie{"tie"};
inline constexpr QLatin1String kLoss{"loss"};
}  // namespace history

namespace saved {
inline constexpr QLatin1String kTable{"saved"};
inline constexpr QLatin1String kId{"id"};  // never given twice, even after a removal
inline constexpr QLatin1String kPosition{"position"};
inline constexpr QLatin1String kName{"name"};
inline constexpr QLatin1String kExpression{"expression"};
}  // namespace saved

// The statements that make version `version` of a file of the version
// before it; `version` from 1 to kVersion.
QStringList StepTo(int version);

}  // namespace alearo::tray_schema
