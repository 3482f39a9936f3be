#pragma once

#include "framework/MdiChildFrame.h"

class CDataView;
class CPlotView;
class QSplitter;

// The window of a GPS data document: its list, and beside it the plot of the same points
// sharing the list's selection. The plot is shown or hidden with "Ansicht > Übersichtskarte";
// whether it shows and how much of the window it takes are kept in the settings for the
// next window. Commands go to the list, wherever the focus is; the window itself handles
// the plot's commands and makes a map of the points ("Als Karte übernehmen").
class CDataFrame : public MdiChildFrame {
    Q_OBJECT

public:
    CDataFrame(DocManager* manager, Document* document, DocTemplate* docTemplate);

    CView* view() const override;
    std::vector<CView*> Views() const override;

    CDataView* List() const { return list_; }
    CPlotView* Plot() const { return plot_; }
    bool PlotShown() const;
    void ShowPlot(bool show);

    // A new map document with the track as lines and the waypoints as marks with their
    // names; null when no map could be made.
    Document* MakeMapFromPoints();

private:
    void StoreSplit();
    // Aufzeichnen: starts a recording of the live position into this window's document (and
    // the position source, where none runs), or ends it.
    void ToggleRecording();

    QSplitter* splitter_;
    CDataView* list_;
    CPlotView* plot_;
};
