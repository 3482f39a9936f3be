#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include <map>
#include <memory>

#include "draw/model/CDrawItem.h"
#include "framework/UndoStack.h"

// A map's content: "Contents" (paper colour, objects, item list) as the map file holds it,
// what each embedded item holds, by the name of its sub-storage, and the georeference's
// stream (empty for a map without one). Snapshots share what they have in common: a step's
// "after" is the next step's "before", and an item's bytes are the item's own.
struct MapSnapshot {
    std::shared_ptr<const std::vector<uint8_t>> contents;
    std::map<std::string, CDrawItem::Content> items;
    std::vector<uint8_t> geoReference;

    friend bool operator==(const MapSnapshot& a, const MapSnapshot& b)
    {
        return (a.contents == b.contents ||
                (a.contents && b.contents && *a.contents == *b.contents)) &&
               a.items == b.items && a.geoReference == b.geoReference;
    }
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
    // The content now is the saved one; `now`, when given, is that content.
    void MarkSaved();
    void MarkSaved(MapSnapshot now);
    bool AtSavedState() const { return steps_.AtSavedState(); }

private:
    struct Step {
        std::string label;
        MapSnapshot before;
        MapSnapshot after;
    };
    // Makes a change since the last known content a step of its own.
    void TakeUntrackedChange();
    void TakeUntrackedChange(MapSnapshot now);
    void Push(Step step);

    std::function<MapSnapshot()> capture_;
    std::function<void(const MapSnapshot&)> restore_;
    UndoStack<Step> steps_{kMaxSteps};
    MapSnapshot known_;  // the content after the last step (or reset)
    MapSnapshot before_;
    std::string label_;
    int depth_ = 0;
};
