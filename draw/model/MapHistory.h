#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "framework/CompoundFile.h"
#include "framework/UndoStack.h"

// A map's content as bytes: "Contents" (paper colour, objects, item list) and the items'
// sub-storages, as the map file holds them.
struct MapSnapshot {
    std::vector<uint8_t> contents;
    CompoundStorage storages;

    friend bool operator==(const MapSnapshot&, const MapSnapshot&) = default;
};

// The undo and redo history of a map: each step keeps the map's content before and after
// one command. A step is whatever changed between the outermost Begin and End; a command
// that changed nothing leaves no step. A change made outside Begin and End becomes a step
// of its own at the next Begin (or save), so that undo never skips it.
class MapHistory {
public:
    static constexpr size_t kMaxSteps = 100;

    // `capture` takes the map's content; `restore` puts a content back.
    MapHistory(std::function<MapSnapshot()> capture,
               std::function<void(const MapSnapshot&)> restore);

    // Steps nest: only the outermost Begin and End count.
    void Begin(const std::string& label);
    // True when the outermost End made a step (the content changed).
    bool End();
    bool InStep() const { return depth_ > 0; }

    bool CanUndo() const { return steps_.CanUndo(); }
    bool CanRedo() const { return steps_.CanRedo(); }
    void Undo();
    void Redo();

    // Forgets every step: the content now is the saved one (a new or loaded map).
    void Reset();
    // The content now is the saved one.
    void MarkSaved();
    bool AtSavedState() const { return steps_.AtSavedState(); }

private:
    struct Step {
        std::string label;
        MapSnapshot before;
        MapSnapshot after;
    };
    // Makes a change since the last known content a step of its own.
    void TakeUntrackedChange();
    void Push(Step step);

    std::function<MapSnapshot()> capture_;
    std::function<void(const MapSnapshot&)> restore_;
    UndoStack<Step> steps_{kMaxSteps};
    MapSnapshot known_;  // the content after the last step (or reset)
    MapSnapshot before_;
    std::string label_;
    int depth_ = 0;
};
