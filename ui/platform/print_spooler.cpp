// SPDX-License-Identifier: MIT
#include "ui/platform/print_spooler.h"

#include <QProcess>
#include <memory>

namespace alearo {

void SpoolWithLp(const QString& path, QObject* context, std::function<void(bool delivered)> done) {
    auto* process = new QProcess();
    process->setProgram(QStringLiteral("lp"));
    process->setArguments({path});
    process->setStandardInputFile(QProcess::nullDevice());
    process->setStandardOutputFile(QProcess::nullDevice());

    // Exactly one of the two ends reports; the process object goes with it.
    auto report = std::make_shared<std::function<void(bool)>>(std::move(done));
    QObject::connect(process, &QProcess::finished, context,
                     [process, report](int exitCode, QProcess::ExitStatus status) {
                         process->deleteLater();
                         (*report)(status == QProcess::NormalExit && exitCode == 0);
                     });
    QObject::connect(process, &QProcess::errorOccurred, context,
                     [process, report](QProcess::ProcessError error) {
                         if (error == QProcess::FailedToStart) {
                             process->deleteLater();
                             (*report)(false);
                         }
                     });
    // Without a context left to report to, the process only cleans up.
    QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
    QObject::connect(process, &QProcess::errorOccurred, process,
                     [process](QProcess::ProcessError error) {
                         if (error == QProcess::FailedToStart) {
                             process->deleteLater();
                         }
                     });
    process->start();
}

}  // namespace alearo
