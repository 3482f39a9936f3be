#pragma once

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "draw/model/CDrawItem.h"
#include "draw/model/CDrawObj.h"
#include "draw/model/DrawViewSite.h"
#include "draw/model/GdiPainter.h"
#include "draw/model/LogFontA.h"
#include "draw/model/UpdateHint.h"
#include "framework/Document.h"

// Writes down what drawing objects paint, one line per call, e.g.
// "Rectangle 10,20,30,40 pen 6/1/0 brush 0/c0c0c0".
class RecordingPainter : public GdiPainter {
public:
    explicit RecordingPainter(bool printing = false) : printing_(printing) {}

    bool IsPrinting() const override { return printing_; }
    void Rectangle(const CRect& r, const LogPen* pen, const LogBrush* brush) override
    {
        calls.push_back("Rectangle " + Rect(r) + Tools(pen, brush));
    }
    void RoundRect(const CRect& r, CPoint e, const LogPen* pen, const LogBrush* brush) override
    {
        calls.push_back("RoundRect " + Rect(r) + " " + Point(e) + Tools(pen, brush));
    }
    void Ellipse(const CRect& r, const LogPen* pen, const LogBrush* brush) override
    {
        calls.push_back("Ellipse " + Rect(r) + Tools(pen, brush));
    }
    void Line(CPoint from, CPoint to, const LogPen* pen) override
    {
        calls.push_back("Line " + Point(from) + " " + Point(to) + Tools(pen, nullptr));
    }
    void Polygon(const CPoint* p, size_t n, const LogPen* pen, const LogBrush* brush) override
    {
        calls.push_back("Polygon " + Points(p, n) + Tools(pen, brush));
    }
    void Polyline(const CPoint* p, size_t n, const LogPen* pen) override
    {
        calls.push_back("Polyline " + Points(p, n) + Tools(pen, nullptr));
    }
    void DrawText(std::string_view text, const CRect& r, const LogFontA* font,
                  bool transparent) override
    {
        calls.push_back("DrawText \"" + std::string(text) + "\" " + Rect(r) +
                        (font ? " font " + font->FaceName() : std::string(" current font")) +
                        (transparent ? " transparent" : ""));
    }
    void InvertRect(const CRect& r) override { calls.push_back("InvertRect " + Rect(r)); }
    void DrawItem(const CDrawItem& item, const CRect& r) override
    {
        calls.push_back("DrawItem " + item.GetName() + " " + Rect(r));
    }
    void DrawTracker(const CRect& r, unsigned style) override
    {
        calls.push_back("DrawTracker " + Rect(r) + " " + std::to_string(style));
    }

    std::vector<std::string> calls;

    static std::string Point(CPoint p) { return std::to_string(p.x) + "," + std::to_string(p.y); }
    static std::string Rect(const CRect& r)
    {
        return Point(r.TopLeft()) + "," + Point(r.BottomRight());
    }

private:
    static std::string Points(const CPoint* p, size_t n)
    {
        std::string text = std::to_string(n) + ":";
        for (size_t i = 0; i < n; ++i) {
            text += " " + Point(p[i]);
        }
        return text;
    }
    static std::string Tools(const LogPen* pen, const LogBrush* brush)
    {
        char text[80];
        std::string s;
        if (pen) {
            std::snprintf(text, sizeof text, " pen %u/%d/%x", pen->style, pen->width.x,
                          pen->colour);
            s += text;
        }
        if (brush) {
            std::snprintf(text, sizeof text, " brush %u/%x", brush->style, brush->colour);
            s += text;
        }
        return s;
    }

    bool printing_;
};

// A map view as the document and the objects see it: a view of the document that maps
// document units to client pixels by an offset, and writes down what it is told.
class FakeViewSite : public View, public DrawViewSite {
public:
    void OnUpdate(View*, long hint, const std::any& payload) override
    {
        const auto* update = std::any_cast<MapUpdate>(&payload);
        updates.push_back({hint, update ? update->object : nullptr});
    }
    void InvalidateObject(CDrawObj* object) override { invalidated.push_back(object); }
    CPoint DocToView(CPoint p) const override { return {p.x - scroll.x, p.y - scroll.y}; }
    CRect ViewToDoc(const CRect& r) const override
    {
        return {r.left + scroll.x, r.top + scroll.y, r.right + scroll.x, r.bottom + scroll.y};
    }
    bool IsActiveView() const override { return active; }
    bool IsSelected(const CDrawObj* object) const override
    {
        return std::find(selection.begin(), selection.end(), object) != selection.end();
    }
    void RemoveFromSelection(CDrawObj* object) override
    {
        removed.push_back(object);
        selection.erase(std::remove(selection.begin(), selection.end(), object), selection.end());
    }
    void ApplyPageSize(CSize size) override { pageSizes.push_back(size); }

    struct Update {
        long hint;
        CDrawObj* object;  // of a MapUpdate
    };
    CPoint scroll;
    bool active = true;
    std::vector<const CDrawObj*> selection;
    std::vector<Update> updates;
    std::vector<CDrawObj*> invalidated;
    std::vector<CDrawObj*> removed;
    std::vector<CSize> pageSizes;
};
