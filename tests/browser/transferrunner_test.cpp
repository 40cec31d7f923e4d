#include "browser/transferrunner.h"
#include "browsertestsupport.h"

#include <QProgressDialog>
#include <QThread>
#include <atomic>
#include <chrono>

// Cancel in the progress dialog tells the file under way to stop and starts no other, while
// the window stays served; a run left alone does every file in order.
TEST(TransferRunner, CancelStopsTheFileUnderWayAndStartsNoOther)
{
    QWidget owner;
    owner.show();
    QStringList ran;
    std::atomic<bool> stoppedByCancel{false};
    std::atomic<bool> started{false};
    WhenModal<QProgressDialog>([&started](QProgressDialog& dialog) {
        // Cancelled while the first file is under way (before it, none would start at all).
        EXPECT_TRUE(QTest::qWaitFor([&started] { return started.load(); }, 5000));
        EXPECT_EQ(dialog.labelText(), "Copying 1 of 3");
        dialog.findChild<QPushButton*>()->click();
    });
    const bool finished =
        CTransferRunner(&owner, std::chrono::milliseconds(0))
            .Run(3, "Copying %1 of %2", [&](int index, const TransferProgress& progress) {
                ran << QString::number(index);
                started = true;
                const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(10);
                for (std::uint64_t done = 0; std::chrono::steady_clock::now() < give_up; ++done) {
                    if (!progress(done % 100, 100)) {
                        stoppedByCancel = true;
                        return;
                    }
                    QThread::msleep(5);
                }
            });
    EXPECT_FALSE(finished);
    EXPECT_TRUE(stoppedByCancel);
    EXPECT_EQ(ran, QStringList{"0"});

    ran.clear();
    EXPECT_TRUE(CTransferRunner(&owner).Run(3, "Copying %1 of %2",
                                            [&](int index, const TransferProgress& progress) {
                                                ran << QString::number(index);
                                                EXPECT_TRUE(progress(1, 1));
                                            }));
    EXPECT_EQ(ran, (QStringList{"0", "1", "2"}));
}
