#include "core/panel_messenger.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QThread>
#include <atomic>
#include <chrono>
#include <memory>
#include <thread>
#include <vector>

#include "core/panel_registry.h"

namespace sundrel::core {
namespace {

// A panel that records what it handled and on which thread. It knows codes 4
// and 6 and ignores every other.
class RecordingPanel : public Panel {
public:
    struct Handled {
        std::uintptr_t code;
        std::uintptr_t data;
        std::intptr_t lparam;
        bool onWindowThread;
    };
    std::vector<Handled> handled;
    std::atomic<int> inside{0};
    std::chrono::milliseconds delay{0};

    void handlePanelMessage(const PanelMessage& message, std::intptr_t lparam) override {
        switch (codeOf(message)) {
            case PanelCode::AcquisitionBatch:
            case PanelCode::AcquisitionProgress:
                ++inside;
                std::this_thread::sleep_for(delay);
                handled.push_back({message.code, message.data, lparam,
                                   QThread::currentThread() == qApp->thread()});
                --inside;
                break;
            default:
                break;
        }
    }
};

PanelMessage batch(std::uintptr_t data) {
    return {static_cast<std::uintptr_t>(PanelCode::AcquisitionBatch), data, 0, 1};
}

class PanelMessengerTest : public ::testing::Test {
protected:
    PanelRegistry registry;
    std::unique_ptr<PanelMessenger> messenger = std::make_unique<PanelMessenger>(registry);
    RecordingPanel panel;

    void SetUp() override { ASSERT_TRUE(registry.registerPanel(PanelSlot::RealTimeView, &panel)); }
};

TEST_F(PanelMessengerTest, RegistrySlotsAreFilledOnceAndLookupIsSafe) {
    RecordingPanel other;
    EXPECT_FALSE(registry.registerPanel(PanelSlot::RealTimeView, &other));  // never replaced
    EXPECT_FALSE(registry.registerPanel(static_cast<PanelSlot>(10), &other));
    EXPECT_FALSE(registry.registerPanel(static_cast<PanelSlot>(33), &other));
    EXPECT_EQ(registry.lookup(PanelSlot::RealTimeView), &panel);
    EXPECT_EQ(registry.lookup(PanelSlot::MainWindow), nullptr);
    EXPECT_EQ(registry.lookup(static_cast<PanelSlot>(99)), nullptr);
    {
        auto gone = std::make_unique<RecordingPanel>();
        ASSERT_TRUE(registry.registerPanel(PanelSlot::StatusBar, gone.get()));
    }
    EXPECT_EQ(registry.lookup(PanelSlot::StatusBar), nullptr);  // its window no longer exists
    messenger->send(PanelSlot::StatusBar, batch(1));            // and a send goes nowhere
}

TEST_F(PanelMessengerTest, OnTheWindowThreadASendIsADirectCall) {
    messenger->send(PanelSlot::RealTimeView, batch(7), 2);
    ASSERT_EQ(panel.handled.size(), 1u);
    EXPECT_EQ(panel.handled[0].data, 7u);
    EXPECT_EQ(panel.handled[0].lparam, 2);
}

TEST_F(PanelMessengerTest, UnknownCodesChangeNothing) {
    const PanelMessage custom{static_cast<std::uintptr_t>(PanelCode::CustomFileName), 0, 0, 0};
    messenger->send(PanelSlot::RealTimeView, custom);
    EXPECT_TRUE(panel.handled.empty());
}

// A worker's send waits until the window thread has handled the record; the
// handler runs on the window thread.
TEST_F(PanelMessengerTest, AWorkerWaitsForTheWindowThread) {
    panel.delay = std::chrono::milliseconds(20);
    std::atomic<bool> returned{false};
    std::size_t handledWhenReturned = 0;
    std::thread worker([&] {
        messenger->send(PanelSlot::RealTimeView, batch(42), 1);
        handledWhenReturned = panel.handled.size();
        returned = true;
    });
    // The window thread is busy: the worker must not get through.
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_FALSE(returned.load());
    while (!returned) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    worker.join();
    EXPECT_EQ(handledWhenReturned, 1u);
    ASSERT_EQ(panel.handled.size(), 1u);
    EXPECT_TRUE(panel.handled[0].onWindowThread);
    EXPECT_EQ(panel.handled[0].data, 42u);
}

// A stop that waits for a worker while the worker is delivering: the window
// thread keeps handling the worker's sends until the worker ends.
TEST_F(PanelMessengerTest, WaitingForAWorkerThatIsSendingDoesNotDeadlock) {
    std::atomic<bool> stop{false};
    std::atomic<bool> finished{false};
    std::atomic<int> sent{0};
    std::thread worker([&] {
        while (!stop) {
            const PanelMessage record = batch(static_cast<std::uintptr_t>(sent.load()));
            messenger->send(PanelSlot::RealTimeView, record, 1);
            ++sent;
        }
        // A last batch after the stop flag, as a drain would send.
        messenger->send(PanelSlot::RealTimeView, batch(999), 1);
        finished = true;
    });
    while (sent < 5) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    stop = true;
    messenger->waitDelivering([&] { return finished.load(); });
    worker.join();
    ASSERT_FALSE(panel.handled.empty());
    EXPECT_EQ(panel.handled.back().data, 999u);
    for (const auto& h : panel.handled) {
        EXPECT_TRUE(h.onWindowThread);
    }
}

TEST_F(PanelMessengerTest, ShutdownReleasesAWaitingSender) {
    std::atomic<bool> returned{false};
    std::thread worker([&] {
        messenger->send(PanelSlot::RealTimeView, batch(1));
        returned = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    messenger->shutdown();
    worker.join();
    EXPECT_TRUE(returned.load());
    messenger->send(PanelSlot::RealTimeView, batch(2));  // the window thread still delivers
    std::thread late([&] { messenger->send(PanelSlot::RealTimeView, batch(3)); });
    late.join();  // other threads return at once
    messenger.reset();
    QCoreApplication::processEvents();
    ASSERT_EQ(panel.handled.size(), 1u);
    EXPECT_EQ(panel.handled[0].data, 2u);
}

// A post is handled later, on the window thread, reading the sender's record
// when it is handled: it may see a later value than the one posted.
TEST_F(PanelMessengerTest, PostsAreQueuedAndReadTheSendersRecord) {
    PanelMessage progress{static_cast<std::uintptr_t>(PanelCode::AcquisitionProgress), 1200, 0, 0};
    std::thread worker([&] { messenger->post(PanelSlot::RealTimeView, &progress); });
    worker.join();
    EXPECT_TRUE(panel.handled.empty());
    progress.data = 2400;
    QCoreApplication::processEvents();
    ASSERT_EQ(panel.handled.size(), 1u);
    EXPECT_EQ(panel.handled[0].data, 2400u);
    EXPECT_TRUE(panel.handled[0].onWindowThread);
}

}  // namespace
}  // namespace sundrel::core
