#include "browser/transferrunner.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QProgressDialog>
#include <QTimer>
#include <atomic>
#include <limits>
#include <thread>

namespace {

constexpr int kSteps = 1000;
constexpr int kRefreshMs = 50;

// What the worker publishes and the window reads: which file, how far into it, and the
// user's cancel.
struct SShared
{
    std::atomic<int> index{0};
    std::atomic<std::uint64_t> done{0};
    std::atomic<std::uint64_t> total{0};
    std::atomic<bool> cancelled{false};
    // Set by the worker as it ends; the window's timer sees it and ends the wait. Nothing is
    // posted across the threads, so every hand-over is one of these atomics.
    std::atomic<bool> finished{false};
};

int DialogValue(const SShared& shared, int count)
{
    const std::uint64_t total = shared.total.load();
    const double within =
        total == 0 ? 0.0 : static_cast<double>(shared.done.load()) / static_cast<double>(total);
    return static_cast<int>((shared.index.load() + within) / count * kSteps);
}

} // namespace

bool CTransferRunner::Run(int count, const QString& label, const Step& step)
{
    if (count <= 0)
        return true;
    SShared shared;
    QProgressDialog dialog(m_owner);
    dialog.setWindowModality(Qt::WindowModal);
    dialog.setWindowTitle(QCoreApplication::applicationName());
    dialog.setRange(0, kSteps);
    dialog.setAutoClose(false);
    dialog.setAutoReset(false);
    // Shown by the timer below, not by the dialog's own estimate.
    dialog.setMinimumDuration(std::numeric_limits<int>::max());
    dialog.setLabelText(label.arg(1).arg(count));
    QObject::connect(&dialog, &QProgressDialog::canceled, &dialog, [&shared, &dialog] {
        shared.cancelled = true;
        dialog.setLabelText(QCoreApplication::translate("CTransferRunner", "Cancelling…"));
    });

    QEventLoop loop;
    QTimer refresh;
    refresh.setInterval(kRefreshMs);
    QObject::connect(&refresh, &QTimer::timeout, &dialog, [&] {
        if (shared.finished) {
            loop.quit();
            return;
        }
        if (!shared.cancelled)
            dialog.setLabelText(label.arg(shared.index.load() + 1).arg(count));
        dialog.setValue(DialogValue(shared, count));
    });
    QTimer::singleShot(m_showAfter, &dialog, [&dialog] { dialog.show(); });
    refresh.start();

    std::thread worker([&] {
        for (int i = 0; i < count && !shared.cancelled; ++i) {
            shared.done = 0;
            shared.total = 0;
            shared.index = i;
            step(i, [&shared](std::uint64_t done, std::uint64_t total) {
                shared.total = total;
                shared.done = done;
                return !shared.cancelled.load();
            });
        }
        shared.finished = true;
    });
    loop.exec();
    worker.join();
    return !shared.cancelled;
}
