#include "draw/model/CDrawItem.h"

#include <set>
#include <utility>

#include "draw/model/CDrawDoc.h"
#include "draw/model/CDrawOleObj.h"
#include "framework/Archive.h"

IMPLEMENT_SERIAL(CDrawItem, CObject, 0)

namespace {

const char kItemStream[] = "Item";
const char kDataStream[] = "Data";

std::set<std::pair<const CDrawDoc*, uint32_t>>& OpenElsewhere()
{
    static std::set<std::pair<const CDrawDoc*, uint32_t>> open;
    return open;
}

[[noreturn]] void BadItem(const std::string& detail)
{
    throw ArchiveException(ArchiveException::BadFormat, "embedded object: " + detail);
}

}  // namespace

CDrawItem::CDrawItem() = default;

CDrawItem::~CDrawItem()
{
    if (drawObj_) {
        drawObj_->SetClientItem(nullptr);
    }
}

void CDrawItem::Serialize(Archive& ar)
{
    if (ar.IsStoring()) {
        ar.WriteU32(itemNumber_);
        ar.WriteU16(type_);
        return;
    }
    itemNumber_ = ar.ReadU32();
    uint16_t type = ar.ReadU16();
    if (type < OT_LINK || type > OT_STATIC) {
        BadItem("unknown kind " + std::to_string(type));
    }
    type_ = static_cast<ItemType>(type);
}

void CDrawItem::SetContent(ItemType type, std::string name, std::string mimeType,
                           std::string linkPath, std::vector<uint8_t> bytes, CSize extent)
{
    type_ = type;
    name_ = std::move(name);
    mimeType_ = std::move(mimeType);
    linkPath_ = std::move(linkPath);
    data_ = std::make_shared<const std::vector<uint8_t>>(std::move(bytes));
    extent_ = extent;
    presentation_.reset();
}

void CDrawItem::SetEmbeddedFile(std::string name, std::string mimeType, std::vector<uint8_t> bytes,
                                CSize extent)
{
    SetContent(OT_EMBEDDED, std::move(name), std::move(mimeType), {}, std::move(bytes), extent);
}

void CDrawItem::SetLinkedFile(std::string path, std::string mimeType, CSize extent)
{
    SetLinkedFile(std::move(path), std::move(mimeType), extent, {});
}

void CDrawItem::SetLinkedFile(std::string path, std::string mimeType, CSize extent,
                              std::vector<uint8_t> lastRead)
{
    std::string name = path.substr(path.find_last_of('/') + 1);
    SetContent(OT_LINK, std::move(name), std::move(mimeType), std::move(path), std::move(lastRead),
               extent);
}

void CDrawItem::SetStaticPicture(std::string name, std::string mimeType, std::vector<uint8_t> bytes,
                                 CSize extent)
{
    SetContent(OT_STATIC, std::move(name), std::move(mimeType), {}, std::move(bytes), extent);
}

void CDrawItem::CopyContentFrom(const CDrawItem& other)
{
    SetContent(other.GetContent());
}

bool operator==(const CDrawItem::Content& a, const CDrawItem::Content& b)
{
    return a.type == b.type && a.name == b.name && a.mimeType == b.mimeType &&
           a.linkPath == b.linkPath && a.extent == b.extent &&
           (a.data == b.data || (a.data && b.data && *a.data == *b.data));
}

CDrawItem::Content CDrawItem::GetContent() const
{
    return {type_, name_, mimeType_, linkPath_, data_, extent_};
}

void CDrawItem::SetContent(const Content& content)
{
    type_ = content.type;
    name_ = content.name;
    mimeType_ = content.mimeType;
    linkPath_ = content.linkPath;
    data_ = content.data ? content.data : std::make_shared<const std::vector<uint8_t>>();
    extent_ = content.extent;
    presentation_.reset();
}

bool CDrawItem::IsPicture() const
{
    return mimeType_ == "image/png" || mimeType_ == "image/jpeg" || mimeType_ == "image/bmp" ||
           mimeType_ == "image/svg+xml";
}

bool CDrawItem::GetExtent(CSize& extent) const
{
    if (extent_ == CSize{}) {
        return false;
    }
    extent = extent_;
    return true;
}

std::string CDrawItem::StorageName() const
{
    return "Embedding " + std::to_string(itemNumber_);
}

CompoundStorage CDrawItem::SaveStorage() const
{
    MemoryOutputStream out;
    Archive ar(out);
    ar.WriteI32(extent_.cx);
    ar.WriteI32(extent_.cy);
    ar.WriteString(mimeType_);
    ar.WriteString(name_);
    ar.WriteString(linkPath_);
    CompoundStorage storage;
    storage.streams[kItemStream] = out.TakeBytes();
    if (type_ != OT_LINK || !data_->empty()) {
        storage.streams[kDataStream] = *data_;
    }
    return storage;
}

void CDrawItem::LoadStorage(const CompoundStorage& storage)
{
    const std::vector<uint8_t>* item = storage.Stream(kItemStream);
    if (!item) {
        BadItem(StorageName() + " has no stream \"Item\"");
    }
    MemoryInputStream in(*item);
    Archive ar(in);
    CSize extent;
    extent.cx = ar.ReadI32();
    extent.cy = ar.ReadI32();
    std::string mimeType = ar.ReadString();
    std::string name = ar.ReadString();
    std::string linkPath = ar.ReadString();
    std::vector<uint8_t> data;
    const std::vector<uint8_t>* bytes = storage.Stream(kDataStream);
    if (bytes) {
        data = *bytes;
    } else if (type_ != OT_LINK) {
        BadItem(StorageName() + " has no stream \"Data\"");
    }
    SetContent(type_, std::move(name), std::move(mimeType), std::move(linkPath), std::move(data),
               extent);
}

ItemState CDrawItem::GetItemState() const
{
    if (state_ == ItemState::loaded && document_ &&
        OpenElsewhere().count({document_, itemNumber_})) {
        return ItemState::open;
    }
    return state_;
}

void CDrawItem::MarkOpenElsewhere(const CDrawDoc* document, uint32_t number, bool open)
{
    if (open) {
        OpenElsewhere().insert({document, number});
    } else {
        OpenElsewhere().erase({document, number});
    }
}

void CDrawItem::ForgetOpenItems(const CDrawDoc* document)
{
    auto& open = OpenElsewhere();
    for (auto it = open.begin(); it != open.end();) {
        it = it->first == document ? open.erase(it) : std::next(it);
    }
}

void CDrawItem::OnChange(OleNotification notification)
{
    if (!drawObj_) {
        return;
    }
    switch (notification) {
    case OLE_CHANGED:
        SyncExtent();
        drawObj_->RequestRepaint();
        break;
    case OLE_CHANGED_STATE:
    case OLE_CHANGED_ASPECT:
        drawObj_->RequestRepaint();
        break;
    default:
        break;
    }
}

bool CDrawItem::SyncExtent()
{
    CSize extent;
    if (!drawObj_ || !GetExtent(extent) || extent == drawObj_->GetExtent()) {
        return false;
    }
    CSize stored = drawObj_->GetExtent();
    CRect r = drawObj_->GetPosition();
    // A stored extent with a zero side cannot scale (it would divide by zero): it counts as
    // not yet known.
    if (stored.cx == 0 || stored.cy == 0) {
        r.right = Saturate32(int64_t{r.left} + MulDiv(extent.cx, 10, 254));
        r.bottom = Saturate32(int64_t{r.top} + MulDiv(extent.cy, 10, 254));
    } else if (state_ != ItemState::active && state_ != ItemState::activeUI) {
        r.right = Saturate32(r.left + int64_t{MulDiv(Saturate32(r.Width()), extent.cx, stored.cx)});
        r.bottom =
            Saturate32(r.top + int64_t{MulDiv(Saturate32(r.Height()), extent.cy, stored.cy)});
    }
    drawObj_->TakeExtent(r, extent);
    drawObj_->RequestRepaint();
    return true;
}
