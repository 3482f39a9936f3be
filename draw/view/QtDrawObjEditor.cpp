#include "draw/view/QtDrawObjEditor.h"

#include <QApplication>

#include "draw/model/CDrawDoc.h"
#include "draw/model/CDrawItem.h"
#include "draw/model/CDrawOleObj.h"
#include "draw/model/CDrawText.h"
#include "draw/view/CPropertySheet.h"
#include "draw/view/CShapePage.h"
#include "draw/view/ItemOpener.h"
#include "draw/view/ItemPropertiesPage.h"

namespace {

const QString kSheetCaption = QStringLiteral("Formeigenschaften");
const QString kItemSheetCaption = QStringLiteral("Objekt-Eigenschaften");
const QString kPageTitle = QStringLiteral("Allgemein");

}  // namespace

QtDrawObjEditor::QtDrawObjEditor(CTextPage::FontChooser chooseFont)
    : chooseFont_(std::move(chooseFont))
{
}

QtDrawObjEditor::~QtDrawObjEditor() = default;

ItemOpener& QtDrawObjEditor::Opener()
{
    if (!opener_) {
        opener_ = std::make_unique<ItemOpener>();
    }
    return *opener_;
}

void QtDrawObjEditor::EditShape(CDrawObj& object)
{
    CPropertySheet sheet(kSheetCaption, QApplication::activeWindow());
    auto* page = new CShapePage(ShapePageValuesOf(object));
    sheet.AddPage(page, kPageTitle);
    if (sheet.exec() == QDialog::Accepted) {
        ApplyShapePageValues(object, page->Values());
    }
}

void QtDrawObjEditor::EditText(CDrawText& object)
{
    if (!object.GetFontFlag()) {
        object.SetFont(LogFontA::SystemFont());
    }
    CPropertySheet sheet(kSheetCaption, QApplication::activeWindow());
    auto* page = new CTextPage(TextPageValuesOf(object), chooseFont_);
    sheet.AddPage(page, kPageTitle);
    if (sheet.exec() == QDialog::Accepted) {
        ApplyTextPageValues(object, page->Values());
    }
}

void QtDrawObjEditor::EditItem(CDrawOleObj& object)
{
    CDrawItem* item = object.GetClientItem();
    CDrawDoc* doc = item ? item->GetDocument() : nullptr;
    if (!doc) {
        return;
    }
    CPropertySheet sheet(kItemSheetCaption, QApplication::activeWindow());
    sheet.AddPage(new ItemPropertiesPage(*doc, item->GetItemNumber(), &Opener()), kPageTitle);
    sheet.exec();
}

void QtDrawObjEditor::OpenItem(CDrawOleObj& object, DrawViewSite*)
{
    CDrawItem* item = object.GetClientItem();
    if (CDrawDoc* doc = item ? item->GetDocument() : nullptr) {
        Opener().Open(*doc, item->GetItemNumber());
    }
}

void QtDrawObjEditor::DocumentGone(CDrawDoc* document)
{
    if (opener_) {
        opener_->ForgetDocument(document);
    }
    CDrawItem::ForgetOpenItems(document);
}
