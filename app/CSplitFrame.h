#pragma once

#include <QPointer>
#include <vector>

#include "draw/model/MapTools.h"
#include "framework/MdiChildFrame.h"

class CDrawView;
class QSplitter;

// The window of a map: one map view that the user can split into up to 2 x 2 panes, each a
// view of the same document scrolling on its own. A split box at the top of a pane's
// vertical scroll bar (and at the left of the horizontal one) is dragged to where the new
// pane boundary goes; "Fenster > Teilen" splits into four at the middle or joins the panes
// again. A pane dragged smaller than 10 pixels in either direction goes. Commands go to the
// active pane, which a click or the focus chooses.
//
// The window has its own drawing tools: the current tool and the gesture in progress, shared
// by its panes. A gesture ends when another pane becomes the active one, when its pane goes
// and when the window closes; while another window is active it waits.
class CSplitFrame : public MdiChildFrame {
    Q_OBJECT

public:
    static constexpr int kMaxPanes = 2;  // rows and columns
    static constexpr int kMinimumPane = 10;

    CSplitFrame(DocManager* manager, Document* document, DocTemplate* docTemplate);
    ~CSplitFrame() override;

    CView* view() const override;
    std::vector<CView*> Views() const override;

    int Rows() const;
    int Columns() const;
    CDrawView* Pane(int row, int column) const;
    CDrawView* ActivePane() const;
    void SetActivePane(CDrawView* pane);

    MapTools& Tools() { return tools_; }

    // Splits the window so that the new boundary lies at `position` pixels from the top
    // (rows) or left (columns) of the panes' area; nothing when already split that way or
    // when a pane would be smaller than kMinimumPane.
    void SplitRows(int position);
    void SplitColumns(int position);
    // Removes a row or column of panes (not the last).
    void RemoveRow(int row);
    void RemoveColumn(int column);
    // "Teilen": four panes at the middle, or back to the active pane alone.
    void ToggleSplit();

private:
    CDrawView* MakePane(const CDrawView* like);
    QSplitter* AddRowSplitter(int index);
    void OnRowsMoved();
    void OnColumnsMoved(QSplitter* moved);
    void UpdatePanes();
    void SetFrameActive(bool active);
    void ForgetPane(CDrawView* pane);

    MapTools tools_;
    QSplitter* rows_;
    QPointer<CDrawView> active_;
    bool frameActive_ = false;
};
