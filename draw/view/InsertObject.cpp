#include "draw/view/InsertObject.h"

#include <memory>

#include <QBuffer>
#include <QFileDialog>
#include <QImage>

#include "draw/model/CDrawDoc.h"
#include "draw/model/CDrawItem.h"
#include "draw/model/CDrawOleObj.h"
#include "draw/paint/ItemPictures.h"
#include "draw/view/InsertObjectDlg.h"
#include "framework/Prompts.h"

namespace {

// The program's string 102.
const char kFailedToCreate[] =
    "Failed to create object.  Make sure the object is entered in the system registry.";

QString ChooseFile(QWidget* parent)
{
    if (const auto& hook = InsertObjectHooks().chooseFile) {
        return hook(parent);
    }
    return QFileDialog::getOpenFileName(parent, QStringLiteral("Durchsuchen"));
}

bool Choose(InsertObjectChoice& choice, QWidget* parent)
{
    if (const auto& hook = InsertObjectHooks().choose) {
        return hook(choice, parent);
    }
    InsertObjectDlg dialog(ChooseFile, parent);
    if (dialog.exec() != QDialog::Accepted) {
        return false;
    }
    choice = dialog.Choice();
    return true;
}

}  // namespace

InsertObjectSeams& InsertObjectHooks()
{
    static InsertObjectSeams seams;
    return seams;
}

void MakeNewObjectFile(CDrawItem& item, NewObjectKind kind)
{
    if (kind == NewObjectKind::text) {
        item.SetEmbeddedFile("Textdokument.txt", "text/plain", {}, NaturalExtent("text/plain", {}));
        return;
    }
    QImage image(400, 300, QImage::Format_RGB32);
    image.fill(Qt::white);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    std::vector<uint8_t> bytes(png.begin(), png.end());
    CSize extent = NaturalExtent("image/png", bytes);
    item.SetEmbeddedFile("Bild.png", "image/png", std::move(bytes), extent);
}

bool InsertNewObject(CDrawDoc& doc, const CRect& position, QWidget* parent)
{
    InsertObjectChoice choice;
    if (!Choose(choice, parent)) {
        return false;
    }
    auto item = std::make_unique<CDrawItem>();
    if (choice.fromFile) {
        std::string error;
        if (!LoadItemFromFile(*item, choice.path, choice.link ? OT_LINK : OT_EMBEDDED, error)) {
            Prompts::Current().Message(kFailedToCreate);
            return false;
        }
    } else {
        MakeNewObjectFile(*item, choice.kind);
    }

    CDrawOleObj* object = nullptr;
    {
        CDrawDoc::UndoStep step(doc, "Objekt einfügen");
        auto created = std::make_unique<CDrawOleObj>(
            CRect{position.left, position.top, position.left, position.top});
        CDrawItem* added = doc.AddItem(std::move(item));
        added->SetDrawObj(created.get());
        created->SetClientItem(added);
        object = created.get();
        doc.Add(std::move(created));
        added->SyncExtent();
    }
    if (!choice.fromFile) {
        object->OpenInView(nullptr);
    }
    return true;
}
