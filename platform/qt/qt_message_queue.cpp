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
    pending_.Post(message);
    QMetaObject::invokeMethod(this, &QtMessageQueue::WakeUp, Qt::QueuedConnection);
}

void QtMessageQueue::WakeUp() {
    if (waiting_) waiting_->quit();
}

// Only a post or the application's own end stops the loop; after the end
// the queue is empty and answers quit.
QuorvaneMessage QtMessageQueue::Wait() {
    if (pending_.Empty()) {
        QEventLoop loop;
        waiting_ = &loop;
        loop.exec();
        waiting_ = nullptr;
    }
    return pending_.Wait();
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
