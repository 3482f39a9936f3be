#pragma once

#include <cstdint>
#include <memory>

#include "draw/model/GdiTypes.h"
#include "framework/CObject.h"
#include "framework/Geometry.h"

class CDrawDoc;
class DrawViewSite;
class GdiPainter;

// How a selected object's handles are painted: not at all, or inverted squares.
enum class HandleState { normal = 0, selected = 1, active = 2 };

// The cursor over a handle (the arrows of IDC_SIZENWSE, IDC_SIZENS, IDC_SIZENESW,
// IDC_SIZEWE, IDC_SIZEALL).
enum class HandleCursor { sizeNWSE, sizeNS, sizeNESW, sizeWE, sizeAll };

// A drawing object's key, given when the object is made and never given again: whatever
// outlives an object's place in a map (a gesture in progress) finds it by its key, or finds
// that it is gone, without trusting an address that may have been reused.
enum class ObjectKey : uint64_t { none = 0 };

// Units beside the drawn width of a line or polyline segment in which a click or rubber band
// still finds it.
constexpr int LINE_PICK_TOLERANCE = 3;

// A shape on a map page: a position rectangle in document units (kept normalized except
// while a handle is dragged), an outline pen, a fill brush and the show-handles flag. The
// base class paints nothing. An object belongs to the document it was added to, whose list
// owns it (CDrawDoc::Add); whoever takes it out (CDrawDoc::Take) owns it from then on.
//
// Operations that change geometry take an optional view: given one they repaint through it,
// else they ask all views of the document (HINT_REPAINT_OBJECT). Every change of geometry or
// colour marks the document modified.
//
// File record (Serialize), 48 bytes, little-endian: position (4 int32), pen flag (uint16),
// pen (LOGPEN, 16 bytes), brush flag (uint16), brush (LOGBRUSH, 12 bytes). The show-handles
// flag is not stored. Loading takes the document from the archive.
class CDrawObj : public CObject {
    DECLARE_SERIAL(CDrawObj)
public:
    // For reading: show-handles 1, everything else from the archive.
    CDrawObj();
    // Pen flag 1, a one-unit black PS_INSIDEFRAME pen, brush flag 1, a solid light grey brush.
    explicit CDrawObj(const CRect& position);
    ~CDrawObj() override = default;
    CDrawObj(const CDrawObj&) = delete;
    CDrawObj& operator=(const CDrawObj&) = delete;

    void Serialize(Archive& ar) override;

    // Handles are numbered from 1. The base has 8: the corners and edge middles, clockwise
    // from the top-left; a handle of another number behaves as handle 1.
    virtual int HandleCount() const;
    virtual CPoint HandlePoint(int n) const;
    virtual HandleCursor GetHandleCursor(int n) const;

    // Store the colour as pen or brush colour, repaint, mark the document modified.
    virtual void SetLineColor(COLORREF colour);
    virtual void SetFillColor(COLORREF colour);

    virtual void Draw(GdiPainter& dc) const;
    // For `selected` and `active`, with the show-handles flag: a 7 x 7 inverted square around
    // each handle point.
    virtual void DrawHandles(GdiPainter& dc, HandleState state) const;

    // Moves the object to `rect` as given (nothing when it is already there).
    virtual void MoveTo(const CRect& rect, DrawViewSite* view = nullptr);
    // 0 for a miss. Selected: the first handle whose HandleRect holds the point; otherwise
    // 1 when the position holds the point.
    virtual int HitTest(CPoint point, DrawViewSite* view, bool selected) const;
    // Whether the object touches `rect` (any orientation), for rubber-band selection and
    // finding the object under a point.
    virtual bool TouchesRect(const CRect& rect) const;
    // Moves the edges that handle `n` stands for to `point`; may leave the position
    // denormalized until NormalizePosition.
    virtual void DragHandleTo(int n, CPoint point, DrawViewSite* view = nullptr);
    // The double-click action: the property sheet.
    virtual void OpenInView(DrawViewSite* view);
    // The property sheet through the installed DrawObjEditor (shape sheet here).
    virtual void EditProperties();
    // A copy of the same class, position and drawing attributes, with the show-handles flag
    // set, in no document until the caller adds it. `document` is the map the copy is for
    // (an embedded object's copy keeps its item there).
    virtual std::unique_ptr<CDrawObj> Clone(CDrawDoc* document = nullptr) const;
    virtual void NormalizePosition();

    // Asks all views of the document to repaint the object.
    void RequestRepaint();
    // Where Draw may paint: the normalized position widened by the pen's width on every side
    // (a wide pen of an open figure reaches beyond its vertices' bounds).
    CRect PaintedArea() const;
    // The 10 x 10 device pixels around handle `n`, in document units.
    CRect HandleRect(int n, DrawViewSite* view) const;

    ObjectKey Key() const { return key_; }
    const CRect& GetPosition() const { return position_; }
    CDrawDoc* GetDocument() const { return document_; }
    void SetDocument(CDrawDoc* document) { document_ = document; }

    // The attributes, for the property sheets; these setters neither repaint nor mark.
    int GetPenFlag() const { return penFlag_; }
    void SetPenFlag(int flag) { penFlag_ = flag; }
    const LogPen& GetPen() const { return pen_; }
    void SetPen(const LogPen& pen) { pen_ = pen; }
    int GetBrushFlag() const { return brushFlag_; }
    void SetBrushFlag(int flag) { brushFlag_ = flag; }
    const LogBrush& GetBrush() const { return brush_; }
    void SetBrush(const LogBrush& brush) { brush_ = brush; }
    bool GetShowHandles() const { return showHandles_; }
    void SetShowHandles(bool show) { showHandles_ = show; }

protected:
    // Writes `stored` as the position, or reads the record.
    void SerializeBase(Archive& ar, const CRect& stored);
    // Repaints through `view`, or through all views of the document without one.
    void Invalidate(DrawViewSite* view);
    void SetModified();
    // Pen flag, pen, brush flag and brush from `other`.
    void CopyStyle(const CDrawObj& other);
    // The pen and brush to paint with: null when the flag is off; false when GDI could not
    // make them (then nothing is painted).
    bool PaintTools(const LogPen*& pen, const LogBrush*& brush) const;
    // How far from a line or segment of this object's pen a probe still finds it: half the
    // pen's width (the larger of x and y; 0 draws one unit wide) plus LINE_PICK_TOLERANCE.
    double LineReach() const;
    // The base rectangle's rules for handle `n` (1 ... 8; others as 1).
    CPoint RectHandlePoint(const CRect& r, int n) const;
    void DragRectHandle(CRect& r, int n, CPoint point) const;

    CRect position_;
    CDrawDoc* document_ = nullptr;
    int penFlag_ = 1;
    LogPen pen_;
    int brushFlag_ = 1;
    LogBrush brush_;
    bool showHandles_ = true;

private:
    static ObjectKey NextKey();

    const ObjectKey key_ = NextKey();
};
