#include "draw/model/MapHistory.h"

MapHistory::MapHistory(std::function<MapSnapshot()> capture,
                       std::function<void(const MapSnapshot&)> restore)
    : capture_(std::move(capture)), restore_(std::move(restore))
{
}

void MapHistory::Reset()
{
    undo_.clear();
    redo_.clear();
    known_ = capture_();
    current_ = saved_ = nextState_ = 0;
}

void MapHistory::Push(Step step)
{
    step.from = current_;
    step.to = ++nextState_;
    current_ = step.to;
    known_ = step.after;
    undo_.push_back(std::move(step));
    if (undo_.size() > kMaxSteps) {
        undo_.erase(undo_.begin());
    }
    // A new change ends what could be redone; a saved state only redo reached is gone.
    for (const Step& s : redo_) {
        if (s.to == saved_) {
            saved_ = -1;
        }
    }
    redo_.clear();
}

void MapHistory::TakeUntrackedChange()
{
    MapSnapshot now = capture_();
    if (!(now == known_)) {
        Push({std::string(), known_, std::move(now)});
    }
}

void MapHistory::Begin(const std::string& label)
{
    if (depth_++ > 0) {
        return;
    }
    label_ = label;
    TakeUntrackedChange();
    before_ = known_;
}

bool MapHistory::End()
{
    if (depth_ == 0 || --depth_ > 0) {
        return false;
    }
    MapSnapshot after = capture_();
    bool changed = !(after == before_);
    if (changed) {
        Push({label_, std::move(before_), std::move(after)});
    }
    before_ = MapSnapshot();
    return changed;
}

void MapHistory::Undo()
{
    if (undo_.empty() || depth_ > 0) {
        return;
    }
    TakeUntrackedChange();
    Step step = std::move(undo_.back());
    undo_.pop_back();
    restore_(step.before);
    known_ = step.before;
    current_ = step.from;
    redo_.push_back(std::move(step));
}

void MapHistory::Redo()
{
    if (redo_.empty() || depth_ > 0) {
        return;
    }
    Step step = std::move(redo_.back());
    redo_.pop_back();
    restore_(step.after);
    known_ = step.after;
    current_ = step.to;
    undo_.push_back(std::move(step));
}

void MapHistory::MarkSaved()
{
    if (depth_ == 0) {
        TakeUntrackedChange();
    }
    saved_ = current_;
}
