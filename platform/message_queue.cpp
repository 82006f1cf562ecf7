#include "platform/message_queue.h"

#include <atomic>

#include "platform/window_handles.h"

namespace quorvane {
namespace {

std::atomic<MessageQueue*> Installed{nullptr};

}  // namespace

void MessageQueue::Dispatch(const QuorvaneMessage& message) { DispatchToWindow(message); }

void PlainMessageQueue::Post(const QuorvaneMessage& message) {
    std::lock_guard lock(mutex_);
    messages_.push_back(message);
}

QuorvaneMessage PlainMessageQueue::Wait() {
    std::lock_guard lock(mutex_);
    if (messages_.empty()) return QuitMessage;
    const QuorvaneMessage message = messages_.front();
    messages_.pop_front();
    return message;
}

bool PlainMessageQueue::Empty() {
    std::lock_guard lock(mutex_);
    return messages_.empty();
}

void PlainMessageQueue::Clear() {
    std::lock_guard lock(mutex_);
    messages_.clear();
}

PlainMessageQueue& ThePlainMessageQueue() {
    static PlainMessageQueue queue;
    return queue;
}

MessageQueue& TheMessageQueue() {
    MessageQueue* queue = Installed.load();
    return queue != nullptr ? *queue : ThePlainMessageQueue();
}

void SetMessageQueue(MessageQueue* queue) { Installed.store(queue); }

}  // namespace quorvane

extern "C" void QuorvanePostMessage(uintptr_t window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    quorvane::TheMessageQueue().Post({window, message, wParam, lParam});
}
