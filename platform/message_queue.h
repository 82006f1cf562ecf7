// The thread's message queue: post, wait for the next message, translate,
// dispatch. The TWAIN layer waits on it while a source's window is up; the
// source manager posts its events to it.
//
// Two implementations: the Qt one (platform/qt/qt_message_queue.h) waits in
// Qt's event loop, so every window stays live; the plain one, for the batch
// tool and the tests, has nothing but posts to wait for.
#pragma once

#include <deque>
#include <mutex>

#include "platform/dsm/dsm_host.h"

namespace quorvane {

inline constexpr QuorvaneMessage QuitMessage{0, QUORVANE_QUIT_MESSAGE, 0, 0};

class MessageQueue {
public:
    virtual ~MessageQueue() = default;
    // May be called from any thread.
    virtual void Post(const QuorvaneMessage& message) = 0;
    // The next message, waiting for one; the quit message ends the wait.
    virtual QuorvaneMessage Wait() = 0;
    // Messages carry no keyboard input to translate.
    virtual void Translate(const QuorvaneMessage&) {}
    // Hands the message to its window.
    virtual void Dispatch(const QuorvaneMessage& message);
};

// Posts are the only messages there are, so an empty queue answers quit:
// nothing could ever arrive while this thread waits.
class PlainMessageQueue final : public MessageQueue {
public:
    void Post(const QuorvaneMessage& message) override;
    QuorvaneMessage Wait() override;
    bool Empty();
    void Clear();

private:
    std::mutex mutex_;
    std::deque<QuorvaneMessage> messages_;
};

// The queue in force: a plain one until a program installs its own.
MessageQueue& TheMessageQueue();
// Installs a queue; null goes back to the plain one.
void SetMessageQueue(MessageQueue* queue);
PlainMessageQueue& ThePlainMessageQueue();

}  // namespace quorvane
