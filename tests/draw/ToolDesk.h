#pragma once

#include <algorithm>
#include <optional>
#include <vector>

#include "draw/model/CDrawDoc.h"
#include "draw/model/CDrawPoly.h"
#include "draw/model/CDrawRect.h"
#include "draw/model/CMapTool.h"
#include "draw/model/MapToolView.h"
#include "draw/model/MapTools.h"
#include "draw/model/ViewGeometry.h"
#include "framework/Document.h"
#include "tests/draw/TestMaps.h"

// A map view over a real document: it keeps its selection as the map view does, converts
// points with the map view's transform (at first 100 %, scrolled by (30, 50): document point
// p shows at client point p - (30, 50)), and writes down what the tools ask of it.
class FakeToolView : public View, public MapToolView {
public:
    explicit FakeToolView(CDrawDoc& doc) : doc_(doc) { doc_.AddView(this); }
    ~FakeToolView() override { doc_.RemoveView(this); }

    void OnUpdate(View*, long hint, const std::any&) override { hints.push_back(hint); }
    CDrawDoc* GetDocument() const override { return &doc_; }
    const std::vector<CDrawObj*>& Selection() const override { return selection; }
    void Select(CDrawObj* object, bool add) override
    {
        if (!add) {
            for (CDrawObj* selected : selection) {
                InvalidateObject(selected);
            }
            selection.clear();
        }
        if (object && !IsSelected(object)) {
            selection.push_back(object);
            InvalidateObject(object);
        }
    }
    void Deselect(CDrawObj* object) override
    {
        if (IsSelected(object)) {
            InvalidateObject(object);
            RemoveFromSelection(object);
        }
    }
    void SelectInRect(const CRect& clientRect, bool add) override
    {
        if (!add) {
            Select(nullptr, false);
        }
        CRect r = ViewToDoc(clientRect);
        for (CDrawObj* object : doc_.ObjectList()) {
            if (object->TouchesRect(r)) {
                Select(object, true);
            }
        }
    }
    void DuplicateSelection() override
    {
        for (CDrawObj* object : selection) {
            doc_.Add(object->Clone(&doc_));
        }
    }
    CPoint ViewToDoc(CPoint c) const override { return transform.ViewToDoc(c); }
    CRect ViewToDoc(const CRect& r) const override
    {
        CPoint a = ViewToDoc(r.TopLeft());
        CPoint b = ViewToDoc(r.BottomRight());
        return {a.x, a.y, b.x, b.y};
    }
    CPoint DocToView(CPoint p) const override { return transform.DocToView(p); }
    void SetCapture() override { capture = true; }
    void ReleaseCapture() override { capture = false; }
    bool HasCapture() const override { return capture; }
    void SetCursor(ToolCursor c) override { cursor = c; }
    void ShowRubberBand(const CRect& r) override
    {
        rubberBands.push_back(r);
        bandShown = true;
    }
    void HideRubberBand() override { bandShown = false; }
    void InvalidateObject(CDrawObj* object) override { invalidated.push_back(object); }
    bool IsActiveView() const override { return true; }
    bool IsSelected(const CDrawObj* object) const override
    {
        return std::find(selection.begin(), selection.end(), object) != selection.end();
    }
    void RemoveFromSelection(CDrawObj* object) override { std::erase(selection, object); }
    void ApplyPageSize(CSize) override {}

    ViewTransform transform{100, {30, 50}};
    std::vector<CDrawObj*> selection;
    bool capture = false;
    std::optional<ToolCursor> cursor;
    std::vector<CRect> rubberBands;
    bool bandShown = false;
    std::vector<CDrawObj*> invalidated;
    std::vector<long> hints;

private:
    CDrawDoc& doc_;
};

// A map window: a document, a view of it, the window's tools, and the mouse as the map view
// hands it to the current tool. Points are given in document units and reach the tools as
// client points.
struct Desk {
    CDrawObj* AddRect(CRect r) { return doc.Add(std::make_unique<CDrawRect>(r)); }
    CMapTool& Tool() { return *tools.ToolForKind(tools.Current()); }
    CPoint Client(CPoint p) const { return view.DocToView(p); }

    void Press(CPoint p, MouseFlags f = {}) { Tool().OnLButtonDown(view, f, Client(p)); }
    void Release(CPoint p, MouseFlags f = {}) { Tool().OnLButtonUp(view, f, Client(p)); }
    void Move(CPoint p, MouseFlags f = {}) { Tool().OnMouseMove(view, f, Client(p)); }
    // A move with the left button held.
    void Hold(CPoint p, MouseFlags f = {})
    {
        f.leftButton = true;
        Move(p, f);
    }
    void Click(CPoint p, MouseFlags f = {})
    {
        Press(p, f);
        Release(p, f);
    }
    // Press, release, double-click, release: the second press arrives as the double-click.
    void DoubleClick(CPoint p, MouseFlags f = {})
    {
        Click(p, f);
        Tool().OnLButtonDblClk(view, f, Client(p));
        Release(p, f);
    }
    CDrawPoly* Poly(size_t i = 0) { return dynamic_cast<CDrawPoly*>(ObjectAt(doc, i)); }

    CDrawDoc doc;
    FakeToolView view{doc};
    MapTools tools;
};
