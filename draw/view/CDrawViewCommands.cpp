// The commands of a map view: tools, view settings, zoom, object colours, z-order,
// properties, select all, delete, the text input dialog and the paper colour.

#include <QColor>

#include "draw/model/CDrawDoc.h"
#include "draw/model/CDrawObj.h"
#include "draw/model/CDrawOleObj.h"
#include "draw/model/CDrawText.h"
#include "draw/model/CMapTool.h"
#include "draw/model/MapTools.h"
#include "draw/model/TextInput.h"
#include "draw/model/UpdateHint.h"
#include "draw/model/ViewGeometry.h"
#include "draw/view/CDrawView.h"
#include "draw/view/CTextInputDlg.h"
#include "framework/CommandActions.h"
#include "res/CommandIds.h"

namespace {

struct ToolCommand {
    int id;
    int kind;
};

// The tool commands and the tools they choose.
constexpr ToolCommand kToolCommands[] = {
    {ID_DRAW_SELECT, 0},  {ID_DRAW_LINE, 1},    {ID_DRAW_RECT, 2},     {ID_DRAW_ROUNDRECT, 3},
    {ID_DRAW_ELLIPSE, 4}, {ID_DRAW_POLYGON, 5}, {ID_DRAW_POLYLINE, 6}, {ID_DRAW_TEXT, 7},
};

COLORREF ToColorRef(const QColor& c)
{
    return RGB(c.red(), c.green(), c.blue());
}

}  // namespace

void CDrawView::RegisterCommands()
{
    for (const ToolCommand& command : kToolCommands) {
        auto kind = static_cast<ToolKind>(command.kind);
        // A gesture in progress (a polygon being drawn) ends before another tool takes over.
        OnCommand(command.id, [this, kind] {
            EndToolGesture();
            if (tools_) {
                tools_->SetCurrent(kind);
            }
        });
        OnUpdateCommand(command.id, [this, kind](CommandUI& ui) {
            ui.radio = true;
            ui.checked = tools_ && tools_->Current() == kind;
        });
    }
    OnCommand(ID_CANCEL_EDIT, [this] { CancelTool(); });
    // Undo and redo end what the tool is doing first: they replace the objects.
    OnCommand(ID_EDIT_UNDO, [this] {
        CancelTool();
        if (CDrawDoc* doc = GetDocument()) {
            doc->Undo();
        }
    });
    OnUpdateCommand(ID_EDIT_UNDO, [this](CommandUI& ui) {
        CDrawDoc* doc = GetDocument();
        ui.enabled = doc && doc->CanUndo();
    });
    OnCommand(ID_EDIT_REDO, [this] {
        CancelTool();
        if (CDrawDoc* doc = GetDocument()) {
            doc->Redo();
        }
    });
    OnUpdateCommand(ID_EDIT_REDO, [this](CommandUI& ui) {
        CDrawDoc* doc = GetDocument();
        ui.enabled = doc && doc->CanRedo();
    });
    OnCommand(ID_VIEW_GRID, [this] { SetGridShown(!grid_); });
    OnUpdateCommand(ID_VIEW_GRID, [this](CommandUI& ui) { ui.checked = grid_; });
    OnCommand(ID_VIEW_PRINTER_PIXELS, [this] {
        SetOffscreenDrawing(!OffscreenDrawing());
        viewport()->update();
    });
    OnUpdateCommand(ID_VIEW_PRINTER_PIXELS, [](CommandUI& ui) { ui.checked = OffscreenDrawing(); });
    OnCommand(ID_VIEW_SHOWOBJECTS, [this] {
        CDrawOleObj::SetShowItemFrames(!CDrawOleObj::ShowItemFrames());
        if (CDrawDoc* doc = GetDocument()) {
            doc->UpdateAllViews(nullptr, HINT_REPAINT_OLE_ITEMS);
        }
    });
    OnUpdateCommand(ID_VIEW_SHOWOBJECTS,
                    [](CommandUI& ui) { ui.checked = CDrawOleObj::ShowItemFrames(); });
    OnCommand(ID_VIEW_ZOOM_IN, [this] { SetZoom(NextZoom(zoom_, true)); });
    OnUpdateCommand(ID_VIEW_ZOOM_IN, [this](CommandUI& ui) { ui.enabled = zoom_ < MAX_ZOOM; });
    OnCommand(ID_VIEW_ZOOM_OUT, [this] { SetZoom(NextZoom(zoom_, false)); });
    OnUpdateCommand(ID_VIEW_ZOOM_OUT, [this](CommandUI& ui) { ui.enabled = zoom_ > MIN_ZOOM; });
    OnCommand(ID_VIEW_ZOOM_100, [this] { SetZoom(100); });
    OnUpdateCommand(ID_VIEW_ZOOM_100, [this](CommandUI& ui) { ui.checked = zoom_ == 100; });
    OnCommand(ID_FILE_PRINT, [this] { Print(false); });
    OnCommand(ID_FILE_PRINT_PREVIEW, [this] { Print(true); });
}

void CDrawView::RegisterObjectCommands()
{
    auto colourCommand = [this](bool line) {
        QColor colour = Qt::black;
        if (!chooseColour(colour)) {
            return;
        }
        std::vector<CDrawObj*> objects = selection_;
        for (CDrawObj* object : objects) {
            if (line) {
                object->SetLineColor(ToColorRef(colour));
            } else {
                object->SetFillColor(ToColorRef(colour));
            }
        }
    };
    OnCommand(ID_OBJECT_LINECOLOR, [colourCommand] { colourCommand(true); });
    OnCommand(ID_OBJECT_FILLCOLOR, [colourCommand] { colourCommand(false); });

    // The z-order commands act on the one selected object; they do not mark the document.
    struct ZOrder {
        int id;
        bool (CDrawDoc::*move)(CDrawObj*);
    };
    const ZOrder orders[] = {{ID_OBJECT_MOVETOFRONT, &CDrawDoc::MoveToFront},
                             {ID_OBJECT_MOVETOBACK, &CDrawDoc::MoveToBack},
                             {ID_OBJECT_MOVEFORWARD, &CDrawDoc::MoveForward},
                             {ID_OBJECT_MOVEBACK, &CDrawDoc::MoveBackward}};
    auto oneSelected = [this](CommandUI& ui) { ui.enabled = selection_.size() == 1; };
    for (const ZOrder& order : orders) {
        auto move = order.move;
        OnCommand(order.id, [this, move] {
            CDrawDoc* doc = GetDocument();
            if (doc && !selection_.empty()) {
                CDrawObj* object = selection_.front();
                (doc->*move)(object);
                InvalidateObject(object);
            }
        });
        OnUpdateCommand(order.id, oneSelected);
    }

    OnCommand(ID_EDIT_PROPERTIES, [this] {
        if (CMapTool* tool = tools_ ? tools_->ToolForKind(ToolKind::selection) : nullptr) {
            tool->EditProperties(*this);
        }
    });
    OnUpdateCommand(ID_EDIT_PROPERTIES, [this](CommandUI& ui) {
        ui.enabled = selection_.size() == 1 && tools_ && tools_->Current() == ToolKind::selection;
    });
    OnCommand(ID_EDIT_SELECT_ALL, [this] {
        if (CDrawDoc* doc = GetDocument()) {
            for (CDrawObj* object : doc->ObjectList()) {
                Select(object, true);
            }
        }
    });
    OnUpdateCommand(ID_EDIT_SELECT_ALL, [this](CommandUI& ui) {
        CDrawDoc* doc = GetDocument();
        ui.enabled = doc && !doc->ObjectList().empty();
    });
    OnCommand(ID_EDIT_CLEAR, [this] { DeleteSelection(); });
    OnUpdateCommand(ID_EDIT_CLEAR, [this](CommandUI& ui) { ui.enabled = !selection_.empty(); });
    OnCommand(ID_TEXT_INPUT, [this] { TextInput(); });
    OnCommand(ID_VIEW_PAPERCOLOR, [this] {
        CDrawDoc* doc = GetDocument();
        QColor colour = Qt::white;
        if (doc && chooseColour(colour)) {
            doc->SetPaperColour(ToColorRef(colour));
        }
    });
}

void CDrawView::DeleteSelection()
{
    CDrawDoc* doc = GetDocument();
    if (!doc || selection_.empty()) {
        return;
    }
    // The other views repaint and forget these objects; then this one.
    std::vector<CDrawObj*> doomed = selection_;
    doc->UpdateAllViews(this, HINT_SELECTION_DELETED, MapUpdate{.objects = doomed});
    OnUpdate(nullptr, HINT_REPAINT_SELECTION, {});
    selection_.clear();
    for (CDrawObj* object : doomed) {
        doc->Take(object);
    }
    CommandActions::StateChanged();
}

void CDrawView::TextInput()
{
    CDrawDoc* doc = GetDocument();
    if (!doc) {
        return;
    }
    std::vector<CDrawText*> texts = VariableTexts(*doc);
    CTextInputDlg dialog(window());
    for (size_t i = 0; i < texts.size(); ++i) {
        dialog.SetText(static_cast<int>(i), texts[i]->GetText());
    }
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    for (size_t i = 0; i < texts.size(); ++i) {
        const std::string& text = dialog.Text(static_cast<int>(i));
        if (text != texts[i]->GetText()) {
            texts[i]->SetText(text);
        }
    }
}
