// The message queue on Qt's event loop: while the TWAIN layer waits for the
// next message, Qt keeps serving every other window. Closing the last window
// (the main window) ends the wait with the quit message. Also the Qt form of
// the warning boxes without owner.
#pragma once

#include <QObject>
#include <QPointer>

#include "platform/message_queue.h"

class QEventLoop;

namespace quorvane {

class QtMessageQueue final : public QObject, public MessageQueue {
    Q_OBJECT
public:
    QtMessageQueue();
    void Post(const QuorvaneMessage& message) override;
    QuorvaneMessage Wait() override;

private:
    void WakeUp();

    PlainMessageQueue pending_;
    QPointer<QEventLoop> waiting_;
};

// Makes the Qt queue and the Qt warning boxes the ones in force, once.
void InstallQtMessageQueue();

}  // namespace quorvane
