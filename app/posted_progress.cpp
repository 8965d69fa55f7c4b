#include "app/posted_progress.h"

#include <utility>

namespace korvex {

PostedProgress::PostedProgress(Progress* target, QObject* owner) : target_(target), owner_(owner) {}

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

void PostedProgress::Flush() {
    std::vector<Step> steps;
    {
        const std::lock_guard lock(mutex_);
        steps.swap(steps_);
        lastIsPos_ = false;
    }
    // Applied outside the lock: the worker goes on queueing meanwhile.
    if (!target_ || !owner_) return;
    for (const Step& step : steps) step(*target_);
}

void PostedProgress::Push(Step step, bool isPos) {
    const std::lock_guard lock(mutex_);
    if (isPos && lastIsPos_) {
        steps_.back() = std::move(step);
    } else {
        steps_.push_back(std::move(step));
    }
    lastIsPos_ = isPos;
}

}  // namespace korvex
