#include "draw/model/MapHistory.h"

MapHistory::MapHistory(std::function<MapSnapshot()> capture,
                       std::function<void(const MapSnapshot&)> restore)
    : capture_(std::move(capture)), restore_(std::move(restore))
{
}

void MapHistory::Reset()
{
    steps_.Clear();
    known_ = capture_();
}

void MapHistory::Push(Step step)
{
    known_ = step.after;
    steps_.Push(std::move(step));
}

void MapHistory::TakeUntrackedChange()
{
    TakeUntrackedChange(capture_());
}

void MapHistory::TakeUntrackedChange(MapSnapshot now)
{
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
    if (!steps_.CanUndo() || depth_ > 0) {
        return;
    }
    TakeUntrackedChange();
    const Step& step = steps_.Undo();
    restore_(step.before);
    known_ = step.before;
}

void MapHistory::Redo()
{
    if (!steps_.CanRedo() || depth_ > 0) {
        return;
    }
    const Step& step = steps_.Redo();
    restore_(step.after);
    known_ = step.after;
}

void MapHistory::MarkSaved()
{
    MarkSaved(depth_ == 0 ? capture_() : MapSnapshot());
}

void MapHistory::MarkSaved(MapSnapshot now)
{
    if (depth_ == 0) {
        TakeUntrackedChange(std::move(now));
    }
    steps_.MarkSaved();
}
