#include "gps/RecordHistory.h"

void RecordHistory::Begin(const std::string& label)
{
    if (depth_++ == 0) {
        label_ = label;
        stepOpen_ = false;
    }
}

void RecordHistory::End()
{
    if (depth_ > 0) {
        --depth_;
    }
}

void RecordHistory::BeforeChange(int kind)
{
    bool single = depth_ == 0;
    if (single || !stepOpen_) {
        Step step;
        step.label = single ? std::string() : label_;
        step.from = current_;
        step.to = ++nextState_;
        current_ = step.to;
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
        stepOpen_ = !single;
    }
    Step& step = undo_.back();
    if ((kind & WAYPOINTS) && !(step.kinds & WAYPOINTS)) {
        step.waypoints = waypoints_;
        step.kinds |= WAYPOINTS;
    }
    if ((kind & TRACKPOINTS) && !(step.kinds & TRACKPOINTS)) {
        step.trackpoints = trackpoints_;
        step.kinds |= TRACKPOINTS;
    }
}

const std::string& RecordHistory::UndoLabel() const
{
    static const std::string kNone;
    return undo_.empty() ? kNone : undo_.back().label;
}

const std::string& RecordHistory::RedoLabel() const
{
    static const std::string kNone;
    return redo_.empty() ? kNone : redo_.back().label;
}

void RecordHistory::Swap(Step& step)
{
    if (step.kinds & WAYPOINTS) {
        waypoints_.swap(step.waypoints);
    }
    if (step.kinds & TRACKPOINTS) {
        trackpoints_.swap(step.trackpoints);
    }
}

void RecordHistory::Undo()
{
    if (undo_.empty()) {
        return;
    }
    Step step = std::move(undo_.back());
    undo_.pop_back();
    Swap(step);  // the step now holds the records after it
    current_ = step.from;
    redo_.push_back(std::move(step));
    stepOpen_ = false;
}

void RecordHistory::Redo()
{
    if (redo_.empty()) {
        return;
    }
    Step step = std::move(redo_.back());
    redo_.pop_back();
    Swap(step);  // the step holds the records before it again
    current_ = step.to;
    undo_.push_back(std::move(step));
    stepOpen_ = false;
}

void RecordHistory::Clear()
{
    undo_.clear();
    redo_.clear();
    depth_ = 0;
    stepOpen_ = false;
    current_ = saved_ = nextState_ = 0;
}
