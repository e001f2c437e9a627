#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>

class QObject;

// Each open and each seek of a pipeline is a request with a token of its own, larger than every
// token before it; 0 is no request.
using RequestToken = std::uint64_t;

// One thread that runs the pipeline's slow calls in the order they were asked for. It outlives its
// control when a call never returns: the control then leaves it behind instead of waiting.
class PipelineWorker {
public:
    static std::shared_ptr<PipelineWorker> Start(QObject* owner);

    void Post(std::function<void()> task);

    // From a task: runs `reply` on the owner's thread, unless the owner has gone.
    void Reply(std::function<void()> reply);

    // The request the pipeline's messages answer: set by the request's task from the moment the
    // pipeline reports on it (an open's while the pipeline is at NULL, a seek's before it is
    // made). A message carries the token read when it was posted.
    std::atomic<RequestToken> answering{0};

    // Ends the thread after the queued tasks; waits at most limitMs. False when it is still busy.
    bool Finish(int limitMs);

private:
    void Run();

    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::function<void()>> tasks_;
    QObject* owner_ = nullptr;
    bool stopping_ = false;
    bool finished_ = false;
};
