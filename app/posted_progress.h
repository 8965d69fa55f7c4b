#pragma once
#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "link/progress.h"

namespace korvex {

// Progress for a worker thread: each call is queued and applied, in order,
// to `target` on the thread `context` lives in, while `owner` (the widget
// the target draws on) exists. A run of SetPos calls
// collapses into its last, so a transfer that moves its bar at every byte
// posts one update per turn of the window's event loop at most.
class PostedProgress final : public Progress {
public:
    PostedProgress(QObject* context, Progress* target, QObject* owner);
    // What is still queued is dropped.
    ~PostedProgress() override;
    PostedProgress(const PostedProgress&) = delete;
    PostedProgress& operator=(const PostedProgress&) = delete;

    void SetRange(int low, int high) override;
    void SetPos(int pos) override;
    void SetStatus(const std::string& text) override;
    void Show() override;
    void Hide() override;

    // On the context's thread: applies what is queued now.
    void Flush();

private:
    using Step = std::function<void(Progress&)>;
    struct Queue {
        std::mutex mutex;
        std::vector<Step> steps;
        bool lastIsPos = false;
        Progress* target = nullptr;  // null once the progress is gone
        QPointer<QObject> owner;     // read on the context's thread only
    };
    static void Apply(Queue& queue);
    void Push(Step step, bool isPos);

    std::shared_ptr<Queue> queue_ = std::make_shared<Queue>();
    QObject* context_;  // outlives every worker that posts here
};

}  // namespace korvex
