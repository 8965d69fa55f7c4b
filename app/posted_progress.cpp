#include "app/posted_progress.h"

#include <utility>

namespace korvex {

PostedProgress::PostedProgress(QObject* context, Progress* target, QObject* owner) : context_(context) {
    queue_->target = target;
    queue_->owner = owner;
}

PostedProgress::~PostedProgress() {
    const std::lock_guard lock(queue_->mutex);
    queue_->steps.clear();
    queue_->target = nullptr;
}

void PostedProgress::SetRange(int low, int high) {
    Push([low, high](Progress& p) { p.SetRange(low, high); }, false);
}
void PostedProgress::SetPos(int pos) {
    Push([pos](Progress& p) { p.SetPos(pos); }, true);
}
void PostedProgress::SetStatus(const std::string& text) {
    Push([text](Progress& p) { p.SetStatus(text); }, false);
}
void PostedProgress::Show() {
    Push([](Progress& p) { p.Show(); }, false);
}
void PostedProgress::Hide() {
    Push([](Progress& p) { p.Hide(); }, false);
}

void PostedProgress::Flush() { Apply(*queue_); }

void PostedProgress::Apply(Queue& queue) {
    std::vector<Step> steps;
    Progress* target = nullptr;
    {
        const std::lock_guard lock(queue.mutex);
        steps.swap(queue.steps);
        queue.lastIsPos = false;
        target = queue.target;
    }
    // Applied outside the lock: the worker goes on queueing meanwhile.
    if (!target || !queue.owner) return;
    for (const Step& step : steps) step(*target);
}

void PostedProgress::Push(Step step, bool isPos) {
    bool post = false;
    {
        const std::lock_guard lock(queue_->mutex);
        if (!queue_->target) return;
        if (isPos && queue_->lastIsPos) {
            queue_->steps.back() = std::move(step);
        } else {
            post = queue_->steps.empty();
            queue_->steps.push_back(std::move(step));
        }
        queue_->lastIsPos = isPos;
    }
    // One posted call per batch: it takes whatever is queued when it runs.
    if (post && context_) {
        QMetaObject::invokeMethod(
            context_, [queue = queue_] { Apply(*queue); }, Qt::QueuedConnection);
    }
}

}  // namespace korvex
