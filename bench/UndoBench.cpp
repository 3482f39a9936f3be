// The undo history of a map that holds a large embedded picture: what 100 small steps cost
// in memory and in time.

#include <malloc.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "bench/Bench.h"
#include "draw/model/CDrawDoc.h"
#include "draw/model/CDrawItem.h"
#include "draw/model/CDrawOleObj.h"
#include "draw/model/CDrawRect.h"

namespace {

constexpr size_t kPictureBytes = 5 * 1024 * 1024;
constexpr int kSteps = 100;

size_t HeapInUse()
{
    return mallinfo2().uordblks;
}

}  // namespace

void RunUndoBenchmarks()
{
    CDrawDoc doc;
    auto object = std::make_unique<CDrawOleObj>(CRect{100, 100, 500, 400});
    auto item = std::make_unique<CDrawItem>();
    std::vector<uint8_t> picture(kPictureBytes);
    for (size_t i = 0; i < picture.size(); ++i) {
        picture[i] = static_cast<uint8_t>(i * 2654435761u >> 24);
    }
    item->SetEmbeddedFile("karte.png", "image/png", picture, {21000, 15000});
    CDrawItem* added = doc.AddItem(std::move(item));
    added->SetDrawObj(object.get());
    object->SetClientItem(added);
    doc.Add(std::move(object));
    CDrawObj* small = doc.Add(std::make_unique<CDrawRect>(CRect{10, 10, 40, 30}));
    doc.SetModifiedFlag(false);

    const size_t before = HeapInUse();
    const double seconds = Measure(
        [&] {
            for (int i = 0; i < kSteps; ++i) {
                CDrawDoc::UndoStep step(doc, "Verschieben");
                CRect r = small->GetPosition();
                small->MoveTo({r.left + 1, r.top, r.right + 1, r.bottom}, nullptr);
            }
        },
        1);
    const double used = static_cast<double>(HeapInUse() - before) / (1024.0 * 1024.0);
    std::printf("%-44s %9.3f MB   %7.2f x the picture (%.2f MB)\n",
                "undo: memory of 100 moves beside a picture", used,
                used / (kPictureBytes / (1024.0 * 1024.0)), kPictureBytes / (1024.0 * 1024.0));
    std::vector<uint8_t> copy(kPictureBytes);
    const double copying = Measure([&] { std::memcpy(copy.data(), picture.data(), copy.size()); });
    Report("undo: one move beside a picture", seconds / kSteps, "copying the picture", copying);
}
