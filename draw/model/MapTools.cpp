#include "draw/model/MapTools.h"

#include "draw/model/CMapTool.h"
#include "draw/model/CPolygonTool.h"
#include "draw/model/CSelectionTool.h"
#include "draw/model/CShapeTool.h"
#include "draw/model/CTextTool.h"

MapTools::MapTools()
    : tools_{std::make_unique<CSelectionTool>(*this),
             std::make_unique<CShapeTool>(ToolKind::line, *this),
             std::make_unique<CShapeTool>(ToolKind::rectangle, *this),
             std::make_unique<CShapeTool>(ToolKind::roundRectangle, *this),
             std::make_unique<CShapeTool>(ToolKind::ellipse, *this),
             std::make_unique<CPolygonTool>(ToolKind::polygon, *this),
             std::make_unique<CPolygonTool>(ToolKind::polyline, *this),
             std::make_unique<CTextTool>(*this)}
{
}

MapTools::~MapTools() = default;

CMapTool* MapTools::ToolForKind(ToolKind kind) const
{
    for (const auto& tool : tools_) {
        if (tool->Kind() == kind) {
            return tool.get();
        }
    }
    return nullptr;
}

void MapTools::Cancel()
{
    if (CMapTool* tool = ToolForKind(current_)) {
        tool->OnCancel();
    }
    current_ = ToolKind::selection;
    gesture_ = ToolGesture{};
}
