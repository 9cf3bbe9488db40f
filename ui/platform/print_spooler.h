// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <functional>

class QObject;

namespace alearo {

// Hands `path` (absolute, so that it can never read as an option) to the system's print spooler
// (the `lp` command) and returns at once. When lp has finished, `done` learns whether it took the
// file: false when lp could not be started, crashed or ended with an error. If `context` is
// destroyed before that, `done` is not called.
void SpoolWithLp(const QString& path, QObject* context, std::function<void(bool delivered)> done);

}  // namespace alearo
