#pragma once

#include <cstddef>
#include <deque>
#include <utility>

// The steps of an undo history and the state its document was last saved in. Each step
// leads from one state of the document to a new one; undo goes back to the state a step
// came from, redo forward to the one it led to. `Step` is what a history keeps to take a
// step back and forth (the records before it, a snapshot, ...).
//
// At most `maxSteps` steps are kept, the oldest dropped first. A new step ends what could be
// redone; when the saved state was only reachable by redo, no state is the saved one any
// more, so the document stays marked modified until it is saved again.
template <class Step>
class UndoStack {
public:
    explicit UndoStack(size_t maxSteps) : maxSteps_(maxSteps) {}

    bool CanUndo() const { return !undo_.empty(); }
    bool CanRedo() const { return !redo_.empty(); }

    // Records a step just done: the document is now in a new state.
    void Push(Step step)
    {
        const int to = ++nextState_;
        undo_.push_back({std::move(step), current_, to});
        current_ = to;
        if (undo_.size() > maxSteps_) {
            undo_.pop_front();
        }
        for (const Entry& entry : redo_) {
            if (entry.to == saved_) {
                saved_ = -1;
            }
        }
        redo_.clear();
    }

    // The step done last (CanUndo), to add to while its command runs.
    Step& Latest() { return undo_.back().step; }
    const Step* NextUndo() const { return undo_.empty() ? nullptr : &undo_.back().step; }
    const Step* NextRedo() const { return redo_.empty() ? nullptr : &redo_.back().step; }

    // Moves the state back before the last step (CanUndo) and gives that step, which the
    // caller takes back; it is then the next to redo.
    Step& Undo()
    {
        redo_.push_back(std::move(undo_.back()));
        undo_.pop_back();
        current_ = redo_.back().from;
        return redo_.back().step;
    }

    // Moves the state forward over the next step to redo (CanRedo) and gives that step,
    // which the caller does again; it is then the next to undo.
    Step& Redo()
    {
        undo_.push_back(std::move(redo_.back()));
        redo_.pop_back();
        current_ = undo_.back().to;
        return undo_.back().step;
    }

    // Forgets every step; the state now is the saved one (a new or loaded document).
    void Clear()
    {
        undo_.clear();
        redo_.clear();
        current_ = saved_ = nextState_ = 0;
    }
    // The state now is the saved one.
    void MarkSaved() { saved_ = current_; }
    // No state undo or redo reaches is the saved one any more: something outside the steps
    // changed since the save, and going through the steps does not take it back.
    void ForgetSavedState() { saved_ = -1; }
    bool AtSavedState() const { return saved_ == current_; }

private:
    struct Entry {
        Step step;
        int from = 0;  // the state the step came from
        int to = 0;    // the state it led to
    };

    size_t maxSteps_;
    std::deque<Entry> undo_;
    std::deque<Entry> redo_;
    int current_ = 0;
    int saved_ = 0;  // -1: none that the steps reach
    int nextState_ = 0;
};
