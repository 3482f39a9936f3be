#pragma once

#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "draw/model/CDrawDoc.h"
#include "draw/model/CDrawItem.h"
#include "draw/model/CDrawOleObj.h"
#include "draw/model/CDrawPoly.h"
#include "draw/model/CDrawRect.h"
#include "draw/model/CDrawText.h"
#include "framework/Archive.h"

// Maps for the model tests, built without Qt: item contents are plain bytes.

// A new T made from `args`, added on top of `doc`.
template <class T, class... Args>
T* AddNew(CDrawDoc& doc, Args&&... args)
{
    return static_cast<T*>(doc.Add(std::make_unique<T>(std::forward<Args>(args)...)));
}

// The objects of `doc`, bottom first, for comparing.
inline std::vector<CDrawObj*> Objects(const CDrawDoc& doc)
{
    auto list = doc.ObjectList();
    return {list.begin(), list.end()};
}

// The object at `index` of the list; throws std::out_of_range beyond its end.
inline CDrawObj* ObjectAt(const CDrawDoc& doc, size_t index)
{
    auto list = doc.ObjectList();
    if (index >= list.size()) {
        throw std::out_of_range("no object " + std::to_string(index));
    }
    return list[index];
}

inline CDrawRect* AddShape(CDrawDoc& doc, int shape, const CRect& r)
{
    auto* object = AddNew<CDrawRect>(doc, r, shape == CDrawRect::line);
    object->SetShape(shape);
    return object;
}

inline CDrawOleObj* AddEmbedded(CDrawDoc& doc, const CRect& r, const std::string& name,
                                std::vector<uint8_t> bytes, ItemType type = OT_EMBEDDED)
{
    auto object = std::make_unique<CDrawOleObj>(r);
    auto item = std::make_unique<CDrawItem>();
    if (type == OT_LINK) {
        item->SetLinkedFile("/nowhere/" + name, "image/png", {2540, 1270});
    } else if (type == OT_STATIC) {
        item->SetStaticPicture(name, "image/png", std::move(bytes), {2540, 1270});
    } else {
        item->SetEmbeddedFile(name, "application/octet-stream", std::move(bytes), {2540, 2540});
    }
    CDrawItem* added = doc.AddItem(std::move(item));
    added->SetDrawObj(object.get());
    object->SetClientItem(added);
    auto* placed = static_cast<CDrawOleObj*>(doc.Add(std::move(object)));
    added->SyncExtent();
    return placed;
}

// One object of each kind: rectangle, rounded rectangle, ellipse, a reversed line, a text
// with a font, a polygon, a polyline, and embedded, linked and picture-only objects.
inline void AddEveryKind(CDrawDoc& doc)
{
    AddShape(doc, CDrawRect::rectangle, {10, 10, 110, 60})->SetFillColor(0x00FF00);
    AddShape(doc, CDrawRect::roundRectangle, {120, 10, 220, 60})->DragHandleTo(9, {200, 50});
    AddShape(doc, CDrawRect::ellipse, {230, 10, 330, 60});
    AddShape(doc, CDrawRect::line, {440, 10, 340, 60})->SetLineColor(0x0000FF);
    auto text = std::make_unique<CDrawText>(CRect{10, 80, 200, 140});
    LogFontA font;
    font.SetHeight(-14);
    font.SetWeight(700);
    font.SetFaceName("Arial");
    text->SetFont(font);
    text->SetFontFlag(1);
    text->SetText(
        "Karte Nord\r\nStra\xdf"
        "e");
    doc.Add(std::move(text));
    auto* polygon = AddNew<CDrawPoly>(doc, CRect{}, CDrawPoly::polygon);
    for (CPoint p : {CPoint{220, 80}, CPoint{300, 140}, CPoint{240, 140}}) {
        polygon->AppendVertex(p);
    }
    auto* polyline = AddNew<CDrawPoly>(doc, CRect{}, CDrawPoly::polyline);
    for (CPoint p : {CPoint{320, 80}, CPoint{360, 140}, CPoint{400, 80}}) {
        polyline->AppendVertex(p);
    }
    AddEmbedded(doc, {10, 160, 0, 0}, "notes.bin", {1, 2, 3});
    AddEmbedded(doc, {200, 160, 0, 0}, "pin.png", {}, OT_LINK);
    AddEmbedded(doc, {400, 160, 0, 0}, "pin.png", {9, 8, 7}, OT_STATIC);
}

inline std::vector<uint8_t> StoredContents(CDrawDoc& doc)
{
    MemoryOutputStream out;
    Archive ar(out);
    doc.Serialize(ar);
    return out.bytes();
}
