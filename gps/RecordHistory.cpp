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
        steps_.Push(std::move(step));
        stepOpen_ = !single;
    }
    Step& step = steps_.Latest();
    if ((kind & WAYPOINTS) && !(step.kinds & WAYPOINTS)) {
        step.records.waypoints = records_.waypoints;
        step.records.waypointDetails = records_.waypointDetails;
        step.kinds |= WAYPOINTS;
    }
    if ((kind & TRACKPOINTS) && !(step.kinds & TRACKPOINTS)) {
        step.records.trackpoints = records_.trackpoints;
        step.records.trackpointDetails = records_.trackpointDetails;
        step.kinds |= TRACKPOINTS;
    }
    if ((kind & ROUTES) && !(step.kinds & ROUTES)) {
        step.records.routes = records_.routes;
        step.kinds |= ROUTES;
    }
}

const std::string& RecordHistory::UndoLabel() const
{
    static const std::string kNone;
    return steps_.NextUndo() ? steps_.NextUndo()->label : kNone;
}

const std::string& RecordHistory::RedoLabel() const
{
    static const std::string kNone;
    return steps_.NextRedo() ? steps_.NextRedo()->label : kNone;
}

void RecordHistory::Swap(Step& step)
{
    if (step.kinds & WAYPOINTS) {
        records_.waypoints.swap(step.records.waypoints);
        records_.waypointDetails.swap(step.records.waypointDetails);
    }
    if (step.kinds & TRACKPOINTS) {
        records_.trackpoints.swap(step.records.trackpoints);
        records_.trackpointDetails.swap(step.records.trackpointDetails);
    }
    if (step.kinds & ROUTES) {
        records_.routes.swap(step.records.routes);
    }
}

void RecordHistory::Undo()
{
    if (!steps_.CanUndo()) {
        return;
    }
    Swap(steps_.Undo());  // the step now holds the records after it
    stepOpen_ = false;
}

void RecordHistory::Redo()
{
    if (!steps_.CanRedo()) {
        return;
    }
    Swap(steps_.Redo());  // the step holds the records before it again
    stepOpen_ = false;
}

void RecordHistory::Clear()
{
    steps_.Clear();
    depth_ = 0;
    stepOpen_ = false;
}
