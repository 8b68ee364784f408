#include "app/worker_thread.h"

#include <QEventLoop>
#include <QMetaObject>
#include <QScopeGuard>
#include <atomic>
#include <exception>
#include <thread>

namespace vernalith {

void RunAwayFromWindow(const std::function<void()>& work, const std::function<void()>& stopEarly) {
    std::exception_ptr failure;
    std::atomic<bool> finished = false;
    QEventLoop loop;
    {
        std::thread worker([&] {
            try {
                work();
            } catch (...) {
                failure = std::current_exception();
            }
            finished = true;
            QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
        });
        const auto joinWorker = qScopeGuard([&] {
            if (!finished && stopEarly) stopEarly();
            worker.join();
        });
        loop.exec();
    }
    if (failure) std::rethrow_exception(failure);
}

}  // namespace vernalith
