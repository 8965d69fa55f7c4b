#pragma once
#include <QObject>
#include <QPointer>
#include <functional>
#include <mutex>
#include <vector>

#include "link/progress.h"

namespace korvex {

// Progress for a worker thread: each call is queued, and Flush, on the
// window's thread, applies what is queued to `target`, in order, while
// `owner` (the widget the target draws on) exists. A run of SetPos calls
// collapses into its last, so a transfer that moves its bar at every byte
// costs the window one update per flush.
class PostedProgress final : public Progress {
public:
    PostedProgress(Progress* target, QObject* owner);
    PostedProgress(const PostedProgress&) = delete;
    PostedProgress& operator=(const PostedProgress&) = delete;

    void SetRange(int low, int high) override;
    void SetPos(int pos) override;
    void SetStatus(const std::string& text) override;
    void Show() override;
    void Hide() override;

    // On the window's thread: applies what is queued now.
    void Flush();

private:
    using Step = std::function<void(Progress&)>;
    void Push(Step step, bool isPos);

    std::mutex mutex_;
    std::vector<Step> steps_;
    bool lastIsPos_ = false;
    Progress* target_;
    QPointer<QObject> owner_;  // read on the window's thread only
};

}  // namespace korvex
