// SPDX-License-Identifier: MIT
#pragma once

#include <QMetaType>
#include <QString>

namespace alearo {

// How a command the player gave went, as every window model reports it:
// done (with something to tell the player, or nothing), or failed, with the
// message the player sees and, apart from it, the system's words for why.
struct Outcome {
    static Outcome Done(const QString& told = {}) { return {true, told, {}}; }
    static Outcome Failed(const QString& message, const QString& reason = {}) {
        return {false, message, reason};
    }

    bool ok = true;
    QString message;
    QString reason;
};

}  // namespace alearo

Q_DECLARE_METATYPE(alearo::Outcome)
