#include "platform/qt/qt_message_queue.h"

#include <QApplication>
#include <QEventLoop>
#include <QMessageBox>

#include "platform/window_handles.h"

namespace quorvane {

QtMessageQueue::QtMessageQueue() {
    // Qt does not end the program by itself when its last window closes
    // inside a nested loop: the quit message ends the wait, and every loop,
    // the program's own included, is told to end.
    connect(qApp, &QGuiApplication::lastWindowClosed, this, [this] {
        if (!waiting_) return;
        Post(QuitMessage);
        QCoreApplication::exit(0);
    });
}

void QtMessageQueue::Post(const QuorvaneMessage& message) {
    {
        std::lock_guard lock(mutex_);
        messages_.push_back(message);
    }
    QMetaObject::invokeMethod(this, &QtMessageQueue::WakeUp, Qt::QueuedConnection);
}

void QtMessageQueue::WakeUp() {
    if (waiting_) waiting_->quit();
}

QuorvaneMessage QtMessageQueue::Wait() {
    if (Empty()) {
        QEventLoop loop;
        waiting_ = &loop;
        loop.exec();
        waiting_ = nullptr;
    }
    std::lock_guard lock(mutex_);
    // Only a post or the application's own end stops the loop.
    if (messages_.empty()) return QuitMessage;
    const QuorvaneMessage message = messages_.front();
    messages_.pop_front();
    return message;
}

bool QtMessageQueue::Empty() {
    std::lock_guard lock(mutex_);
    return messages_.empty();
}

void InstallQtMessageQueue() {
    static QtMessageQueue* queue = nullptr;
    if (queue != nullptr) return;
    queue = new QtMessageQueue;
    queue->setParent(qApp);
    SetMessageQueue(queue);
    SetWarningBoxPresenter([](const WarningBox& box) {
        QMessageBox message(box.warningIcon ? QMessageBox::Warning : QMessageBox::NoIcon,
                            QString::fromStdString(box.caption), QString::fromStdString(box.text), QMessageBox::Ok);
        message.exec();
    });
}

}  // namespace quorvane
