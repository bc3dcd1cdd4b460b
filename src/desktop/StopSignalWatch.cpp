#include "desktop/StopSignalWatch.h"

#include "model/Program.h"
#include "platform/StopSignals.h"

namespace scorvane {

StopSignalWatch::StopSignalWatch(Program& program) {
    const int descriptor = CatchStopSignals();
    if (descriptor < 0) return;
    notifier_ = std::make_unique<QSocketNotifier>(descriptor, QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [&program] {
        const int signal = TakeStopSignal();
        if (signal == 0) return;
        if (!program.IsDialogLoaded()) EndBySignal(signal);
        program.dialogUnloaded().CancelButton.onClick();
    });
}

}  // namespace scorvane
