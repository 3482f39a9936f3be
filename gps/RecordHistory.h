#pragma once

#include <string>
#include <vector>

#include "framework/UndoStack.h"
#include "gps/GpsRecords.h"

// The undo and redo history of one document's records. Every change to the records is
// preceded by BeforeChange, which keeps the records of that kind as they were; changes
// between Begin and End form one step (one command), a change outside them is a step of its
// own. Undo puts the records of a step back as they were before it, Redo as after it.
class RecordHistory {
public:
    // A kind's records and their details change together.
    enum Kind { WAYPOINTS = 1, TRACKPOINTS = 2, ROUTES = 4 };
    static constexpr size_t kMaxSteps = 100;

    explicit RecordHistory(GpsRecords& records) : records_(records) {}

    // Steps nest: only the outermost Begin and End count. `label` names the command.
    void Begin(const std::string& label);
    void End();
    // Call before the records of `kind` (a Kind) change.
    void BeforeChange(int kind);

    bool CanUndo() const { return steps_.CanUndo(); }
    bool CanRedo() const { return steps_.CanRedo(); }
    const std::string& UndoLabel() const;
    const std::string& RedoLabel() const;
    void Undo();
    void Redo();

    // Forgets every step (a new or loaded document).
    void Clear();
    // The records as they are now are the saved ones.
    void MarkSaved() { steps_.MarkSaved(); }
    // No state undo or redo reaches is the saved one any more: something outside the
    // records changed since the save, and taking the records back does not take it back.
    void ForgetSavedState() { steps_.ForgetSavedState(); }
    bool AtSavedState() const { return steps_.AtSavedState(); }

private:
    struct Step {
        std::string label;
        int kinds = 0;
        GpsRecords records;  // of its kinds
    };
    // Replaces the records of `step`'s kinds by its own and keeps the others in it.
    void Swap(Step& step);

    GpsRecords& records_;
    UndoStack<Step> steps_{kMaxSteps};
    int depth_ = 0;
    bool stepOpen_ = false;
    std::string label_;
};
