#pragma once

#include "exchange/transferprogress.h"

#include <QString>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>

class QWidget;

// Runs exports or imports, one file after the other, on a worker thread while the window goes
// on painting: the records browser never waits on a codec. A run that lasts longer than
// `showAfter` shows a window-modal progress dialog with Cancel; Cancel (or closing the
// dialog) makes the progress function of the file under way answer false, so that file is
// abandoned (the transfers leave nothing behind then) and no further file starts.
class CTransferRunner
{
public:
    // Transfers file `index`; reports through `progress` and stops when it answers false.
    // Runs on the worker thread: it must touch no widget.
    using Step = std::function<void(int index, const TransferProgress& progress)>;

    explicit CTransferRunner(QWidget* owner,
                             std::chrono::milliseconds showAfter = std::chrono::milliseconds(400))
        : m_owner(owner), m_showAfter(showAfter)
    {}

    // Runs steps 0 .. count - 1 in order and returns once the last has ended, the events of
    // the window served meanwhile; `label` says what is done ("Exporting %1 of %2": the
    // file's number and the count). False when the user cancelled: the step under way was
    // told to stop and the later ones did not run.
    bool Run(int count, const QString& label, const Step& step);

private:
    QWidget* m_owner;
    std::chrono::milliseconds m_showAfter;
};
