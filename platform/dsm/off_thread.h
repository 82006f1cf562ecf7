// Runs a slow device call (starting or reading a page) on a thread of its
// own while the caller's event loop keeps every window of the program live.
// Without an event loop on the calling thread (the batch tool) the call runs
// right there.
#pragma once

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>

#include <memory>
#include <utility>

namespace quorvane::dsm {

template <class Call>
auto RunAndWait(Call call) -> decltype(call()) {
    QCoreApplication* application = QCoreApplication::instance();
    if (application == nullptr || QThread::currentThread() != application->thread()) return call();
    decltype(call()) result{};
    QEventLoop loop;
    std::unique_ptr<QThread> thread(QThread::create([&] { result = call(); }));
    QObject::connect(thread.get(), &QThread::finished, &loop, &QEventLoop::quit, Qt::QueuedConnection);
    thread->start();
    loop.exec();
    thread->wait();
    return result;
}

}  // namespace quorvane::dsm
