#include "player/PipelineWorker.h"

#include <QObject>

#include <chrono>
#include <thread>

std::shared_ptr<PipelineWorker> PipelineWorker::Start(QObject* owner) {
    auto worker = std::make_shared<PipelineWorker>();
    worker->owner_ = owner;
    std::thread([worker] { worker->Run(); }).detach();
    return worker;
}

void PipelineWorker::Post(std::function<void()> task) {
    std::lock_guard lock(mutex_);
    tasks_.push_back(std::move(task));
    changed_.notify_all();
}

void PipelineWorker::Reply(std::function<void()> reply) {
    std::lock_guard lock(mutex_);
    if (owner_)
        QMetaObject::invokeMethod(owner_, std::move(reply), Qt::QueuedConnection);
}

bool PipelineWorker::Finish(int limitMs) {
    std::unique_lock lock(mutex_);
    owner_ = nullptr;
    stopping_ = true;
    changed_.notify_all();
    return changed_.wait_for(lock, std::chrono::milliseconds(limitMs),
                             [this] { return finished_; });
}

void PipelineWorker::Run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return stopping_ || !tasks_.empty(); });
        if (tasks_.empty())
            break;
        std::function<void()> task = std::move(tasks_.front());
        tasks_.pop_front();
        lock.unlock();
        task();
        lock.lock();
    }
    finished_ = true;
    changed_.notify_all();
}
