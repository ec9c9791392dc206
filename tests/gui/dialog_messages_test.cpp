// What the operation dialogs hear from their workers: every report becomes
// the right posted message, and only a stored send keeps the dialog open.
#include "dialogs/interruptible_clock.h"
#include "dialogs/operation_messages.h"
#include "dialogs/posting_observer.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace tarvo {
namespace {

struct Posted {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    bool operator==(const Posted&) const = default;
};

class ObserverTest : public ::testing::Test {
protected:
    PostingObserver Make(bool send) {
        return PostingObserver([this](UINT m, WPARAM w, LPARAM l) { posted.push_back({m, w, l}); },
                               send);
    }
    std::vector<Posted> posted;
};

TEST_F(ObserverTest, ReportsBecomeTheirMessages) {
    PostingObserver observer = Make(true);
    observer.OnStatus(kStatusWaitSync);
    observer.OnErrors(3);
    observer.OnProgress(384);
    observer.OnSize(300);
    observer.OnHideCancel();
    const std::vector<Posted> expected = {{WM_OP_STATUS, 104, 0},
                                          {WM_OP_ERRORS, 3, 0},
                                          {WM_OP_PROGRESS, 384, 0},
                                          {WM_OP_SIZE, 300, 0},
                                          {WM_OP_HIDE_CANCEL, 0, 0}};
    EXPECT_EQ(posted, expected);
}

TEST_F(ObserverTest, OnlyAStoredSendKeepsTheDialogOpen) {
    PostingObserver send = Make(true);
    send.OnDone(true);
    send.OnDone(false);
    PostingObserver receiveOrCommand = Make(false);
    receiveOrCommand.OnDone(true);
    const std::vector<Posted> expected = {
        {WM_OP_DONE, 0, 1}, {WM_OP_DONE, 0, 0}, {WM_OP_DONE, 0, 0}};
    EXPECT_EQ(posted, expected);
}

TEST_F(ObserverTest, OneProgressMessageWaitsAtATime) {
    PostingObserver observer = Make(true);
    observer.OnProgress(128);
    observer.OnProgress(256);
    observer.OnProgress(384);
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(observer.TakeProgress(), 384);
    observer.OnProgress(512);
    ASSERT_EQ(posted.size(), 2u);
    EXPECT_EQ(posted[1], (Posted{WM_OP_PROGRESS, 512, 0}));
    EXPECT_EQ(observer.TakeProgress(), 512);
}

// A pause that would outlast the test's time limit ends as soon as the
// dialog interrupts it, and so does every later one.
TEST(InterruptibleClock, InterruptEndsTheCurrentAndLaterPauses) {
    InterruptibleClock clock;
    std::thread worker([&clock] { clock.Sleep(std::chrono::hours(1)); });
    clock.Interrupt();
    worker.join();
    clock.Sleep(std::chrono::hours(1));
}

TEST(OperationMessages, KeepTheirNumbers) {
    // Other programs and the main dialog's port poll rely on these values.
    EXPECT_EQ(WM_OP_ERRORS, 0x464u);
    EXPECT_EQ(WM_OP_PROGRESS, 0x465u);
    EXPECT_EQ(WM_OP_DONE, 0x466u);
    EXPECT_EQ(WM_OP_STATUS, 0x467u);
    EXPECT_EQ(WM_OP_ABORT, 0x468u);
    EXPECT_EQ(WM_OP_SIZE, 0x469u);
}

}  // namespace
}  // namespace tarvo
