#pragma once

#include <QAbstractScrollArea>
#include <QColor>
#include <functional>
#include <optional>
#include <vector>

#include "draw/model/GdiTypes.h"
#include "draw/model/MapToolView.h"
#include "framework/CView.h"

class CDrawDoc;
class CDrawObj;
class MapTools;
class QPainter;
class QMimeData;
class QPrinter;
struct ViewTransform;

// A view of a map document: the page scrolled in a window, with the paper colour, the
// objects bottom to top, the handles of the selected objects while the view is active, the
// help grid on top and the rubber band of a selection. Mouse input of the active view goes
// to the current drawing tool; the view keeps its own selection (not owned: the objects are
// the document's).
//
// Client coordinates are the viewport's device-independent pixels; a document point p is
// shown at p * zoom - scroll position. At 100 % one document unit is one pixel.
//
// The view carries the map's editing commands (tools, grid, colours, z-order, properties,
// select all, delete, text input, zoom, printing); see RegisterCommands.
class CDrawView : public QAbstractScrollArea, public CView, public MapToolView {
    Q_OBJECT

public:
    static constexpr int kZoomSteps[] = {25,  33,  50,  67,  75,  100, 125,
                                         150, 200, 300, 400, 600, 800};

    explicit CDrawView(QWidget* parent = nullptr);
    ~CDrawView() override;

    CDrawDoc* GetDocument() const override;

    // The document changed: hints of UpdateHint (0 everything, 1 one object, 2 a list or the
    // selection, 3 objects being deleted, 4 embedded objects).
    void OnUpdate(View* sender, long hint, const std::any& payload) override;
    void OnInitialUpdate() override;

    // The active view of the active map window: its tools get the mouse, it shows the
    // handles of its selection and the mouse position. Set by the window that holds it.
    void SetActive(bool active);
    // Ends the gesture in progress in this view (a drag, a polygon being drawn) as Esc does,
    // but the window's tool stays chosen: for a pane that stops being the window's active
    // one. A view that leaves its document ends its gesture itself.
    void EndToolGesture();
    bool IsActiveView() const override { return active_; }

    // The drawing tools of the window that holds the view (not owned; all panes of a window
    // share them, and the window takes them away before they go). Without tools the mouse
    // edits nothing and the tool commands do nothing.
    void SetTools(MapTools* tools) { tools_ = tools; }
    MapTools* Tools() const { return tools_; }

    // Selection (see MapToolView).
    const std::vector<CDrawObj*>& Selection() const override { return selection_; }
    void Select(CDrawObj* object, bool add) override;
    void Deselect(CDrawObj* object) override;
    bool IsSelected(const CDrawObj* object) const override;
    void RemoveFromSelection(CDrawObj* object) override;
    void SelectInRect(const CRect& clientRect, bool add) override;
    void DuplicateSelection() override;
    void InvalidateObject(CDrawObj* object) override;

    // Coordinates.
    CPoint DocToView(CPoint p) const override;
    CRect DocToView(const CRect& r) const;
    CPoint ViewToDoc(CPoint client) const override;
    CRect ViewToDoc(const CRect& r) const override;
    void ApplyPageSize(CSize size) override;
    // The empty rectangle at client point (10, 10), in document units.
    CRect DefaultInsertRect() const;

    // Mouse capture, cursor and rubber band for the tools.
    void SetCapture() override;
    void ReleaseCapture() override;
    bool HasCapture() const override { return capture_; }
    void SetCursor(ToolCursor cursor) override;
    void ShowRubberBand(const CRect& clientRect) override;
    void HideRubberBand() override;

    // Zoom in percent of one unit per pixel, within kZoomSteps' range. Keeps the document
    // point under `anchor` (a client point) in place; without one, the centre.
    int Zoom() const { return zoom_; }
    void SetZoom(int percent);
    void SetZoom(int percent, QPoint anchor);

    bool GridShown() const { return grid_; }
    void SetGridShown(bool shown);
    // A marker over the page: the receiver's live position on a map with a georeference.
    // `at` and `ahead` (the point it moves towards, for its arrow) in document units; its
    // error circle `errorUnits` across; grey while no fix comes.
    struct PageMarker {
        CPoint at;
        std::optional<CPoint> ahead;
        int errorUnits = 0;
        bool receiving = true;
    };
    // Shows `marker`, or none; repaints only where the old and the new one lie.
    void SetPageMarker(const std::optional<PageMarker>& marker);
    const std::optional<PageMarker>& GetPageMarker() const { return marker_; }
    // The client pixels the marker covers; empty without one.
    QRect PageMarkerArea() const;

    // Whether map views paint through an image first ("Drucker-Pixel"); for the program.
    static bool OffscreenDrawing();
    static void SetOffscreenDrawing(bool offscreen);

    // Paints what lies in `docRect` of the page as this view shows it, into `painter`, which
    // is set up for document units. Printing leaves out the grid and the handles, and what
    // lies beyond the page.
    void PaintPage(QPainter& painter, const CRect& docRect, bool printing) const;
    // Paints the page onto the printer's page, filling its printable area with the
    // aspect kept. Stamps the print date unless `preview`.
    void PrintPage(QPrinter& printer, bool preview);

    // Where the active view tells the mouse position, a point of its document's page, for
    // the program to show; set by the program.
    static std::function<void(const CDrawDoc&, CPoint)>& MousePositionSink();
    // The printer the print commands use (not owned); set by the program, else one of the
    // view's own.
    static void SetPrinter(QPrinter* printer);

    // The colour dialog of the colour commands; replaceable for tests. False for Cancel.
    std::function<bool(QColor& colour)> chooseColour;

protected:
    void paintEvent(QPaintEvent* event) override;
    void PaintPageMarker(QPainter& painter);
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void OnDetaching() override;

signals:
    // The user pressed a mouse button in this view: its window makes it the active pane.
    void activationRequested(CDrawView* view);

private:
    void RegisterCommands();
    void RegisterObjectCommands();
    void RegisterClipboardCommands();
    // Pastes `data` (map objects, or embedded objects only) with new objects at `topLeft`;
    // they become the selection. A failure shows its message and changes nothing.
    void Paste(const QMimeData& data, CPoint topLeft, bool embedOnly);
    // The focus rectangle of a drop over the view (null: none).
    void ShowDropRect(const QRect& rect);
    void UpdateScrollBars();
    QPoint ScrollOffset() const;
    ViewTransform Transform() const;
    void PaintGrid(QPainter& painter) const;
    void InvalidateClient(const QRect& rect);
    void ToolEvent(QMouseEvent* event, int kind);
    void DeleteSelection();
    // Esc: the gesture in progress ends, the selection tool becomes current.
    void CancelTool();
    // The changes of one mouse gesture (press to release, or a polygon's clicks until it is
    // done) are one undo step.
    void BeginGesture();
    void EndGesture();
    void TextInput();
    void Print(bool preview);

    std::vector<CDrawObj*> selection_;
    MapTools* tools_ = nullptr;
    bool grid_ = true;
    COLORREF gridColour_ = 0x800000;
    bool active_ = false;
    bool capture_ = false;
    bool gesture_ = false;
    int zoom_ = 100;
    CSize pageSize_;
    QRect rubberBand_;
    std::optional<PageMarker> marker_;
    QRect dropRect_;
    bool dropAcceptable_ = false;
    CSize dragSize_;
};
