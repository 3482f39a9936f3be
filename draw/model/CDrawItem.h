#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/CObject.h"
#include "framework/CompoundFile.h"
#include "framework/Geometry.h"

class CDrawDoc;
class CDrawOleObj;

// What an embedded object holds: a copy of a file, a link to a file, or a picture only.
enum ItemType : uint16_t { OT_LINK = 1, OT_EMBEDDED = 2, OT_STATIC = 3 };

// Where an embedded object is: in the map only, or open in another program (which shows it
// hatched); in-place activation (active, activeUI) is not offered but kept for the rules
// that depend on it.
enum class ItemState { empty, loaded, open, active, activeUI };

// Notifications of a changed embedded object (OnChange).
enum OleNotification {
    OLE_CHANGED = 0,
    OLE_SAVED = 1,
    OLE_CLOSED = 2,
    OLE_RENAMED = 3,
    OLE_CHANGED_STATE = 4,
    OLE_CHANGED_ASPECT = 5
};

// The data of an embedded object: the file it stands for and the extent it reports, kept in
// the map document's item list (which owns it) and paired with the CDrawOleObj that places
// it on the page. Pictures (PNG, JPEG, BMP, SVG) are shown as they are; other files as an
// icon with their name.
//
// Record in "Contents": uint32 item number, uint16 ItemType. The content lies in the
// sub-storage "Embedding <number>" of the map file: stream "Item" (int32 extent cx and cy in
// 0.01 mm, then counted strings of the MIME type, the file name shown and the linked path,
// UTF-8) and stream "Data" with the file's bytes: for a linked item the bytes last read from
// its file, and only when there are such. See docs/embedded-items.md.
class CDrawItem : public CObject {
    DECLARE_SERIAL(CDrawItem)
public:
    // Empty and loaded; give it content before adding it to a document.
    CDrawItem();
    // Clears the drawing object's pointer to this item.
    ~CDrawItem() override;
    CDrawItem(const CDrawItem&) = delete;
    CDrawItem& operator=(const CDrawItem&) = delete;

    void Serialize(Archive& ar) override;

    // The content. `extent` is the natural size in 0.01 mm; (0, 0) when unknown. Each
    // setter drops the cached presentation.
    void SetEmbeddedFile(std::string name, std::string mimeType, std::vector<uint8_t> bytes,
                         CSize extent);
    void SetLinkedFile(std::string path, std::string mimeType, CSize extent);
    // A link together with the bytes last read from its file, which are shown while the file
    // is missing or unreadable and are kept in the map.
    void SetLinkedFile(std::string path, std::string mimeType, CSize extent,
                       std::vector<uint8_t> lastRead);
    void SetStaticPicture(std::string name, std::string mimeType, std::vector<uint8_t> bytes,
                          CSize extent);
    // Takes the content of `other` (the framework's CreateCloneFrom).
    void CopyContentFrom(const CDrawItem& other);

    // What the item holds, as undo keeps it: the file's bytes are shared with the item, not
    // copied, so that steps that leave an item alone cost nothing of its size.
    struct Content {
        ItemType type = OT_EMBEDDED;
        std::string name;
        std::string mimeType;
        std::string linkPath;
        std::shared_ptr<const std::vector<uint8_t>> data;
        CSize extent;

        // Equal bytes count, wherever they lie; the same bytes are not compared again.
        friend bool operator==(const Content& a, const Content& b);
    };
    Content GetContent() const;
    void SetContent(const Content& content);

    ItemType GetType() const { return type_; }
    bool IsLinked() const { return type_ == OT_LINK; }
    const std::string& GetName() const { return name_; }
    const std::string& GetMimeType() const { return mimeType_; }
    // The file's bytes; for a linked item those last read from its file (empty when never
    // read).
    const std::vector<uint8_t>& GetData() const { return *data_; }
    const std::string& GetLinkPath() const { return linkPath_; }
    // True for image/png, image/jpeg, image/bmp and image/svg+xml.
    bool IsPicture() const;
    // The natural extent in 0.01 mm; false when the item cannot tell.
    bool GetExtent(CSize& extent) const;

    // The sub-storage "Embedding <number>" of this item, and reading it back. LoadStorage
    // throws ArchiveException (BadFormat) for a missing or damaged stream.
    std::string StorageName() const;
    CompoundStorage SaveStorage() const;
    void LoadStorage(const CompoundStorage& storage);

    uint32_t GetItemNumber() const { return itemNumber_; }
    void SetItemNumber(uint32_t number) { itemNumber_ = number; }
    CDrawDoc* GetDocument() const { return document_; }
    void SetDocument(CDrawDoc* document) { document_ = document; }
    CDrawOleObj* GetDrawObj() const { return drawObj_; }
    void SetDrawObj(CDrawOleObj* drawObj) { drawObj_ = drawObj; }

    // The state set last; an item marked open elsewhere (below) that is loaded reports open.
    ItemState GetItemState() const;
    void SetItemState(ItemState state) { state_ = state; }

    // Items open in another program, known by document and item number, so that an item
    // made anew from bytes (undo, redo) is still shown open. Whoever opens items keeps these
    // marks and forgets a document's before the document goes.
    static void MarkOpenElsewhere(const CDrawDoc* document, uint32_t number, bool open);
    static void ForgetOpenItems(const CDrawDoc* document);

    // The object's server reported a change: a changed state or aspect repaints the drawing
    // object; a changed content first runs SyncExtent.
    void OnChange(OleNotification notification);
    // Takes the item's extent into the drawing object: a new object (stored extent (0, 0),
    // or with a zero side) gets one document unit per 0.254 mm from its top-left corner,
    // right and downward; an
    // object with an extent is scaled by the new against the old (not while in-place
    // active). False when the extent is unknown or unchanged.
    bool SyncExtent();

    // A painter's decoded picture, kept with the item until its content changes.
    class Presentation {
    public:
        virtual ~Presentation() = default;
    };
    Presentation* GetPresentation() const { return presentation_.get(); }
    void SetPresentation(std::unique_ptr<Presentation> presentation) const
    {
        presentation_ = std::move(presentation);
    }
    // The linked file changed on disk: the next paint reads it again.
    void DropPresentation() const { presentation_.reset(); }

private:
    void SetContent(ItemType type, std::string name, std::string mimeType, std::string linkPath,
                    std::vector<uint8_t> bytes, CSize extent);

    uint32_t itemNumber_ = 0;
    ItemType type_ = OT_EMBEDDED;
    std::string name_;
    std::string mimeType_;
    std::string linkPath_;
    std::shared_ptr<const std::vector<uint8_t>> data_ = std::make_shared<std::vector<uint8_t>>();
    CSize extent_;
    CDrawDoc* document_ = nullptr;
    CDrawOleObj* drawObj_ = nullptr;
    ItemState state_ = ItemState::loaded;
    mutable std::unique_ptr<Presentation> presentation_;
};
