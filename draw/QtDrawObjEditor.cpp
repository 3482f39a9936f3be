#include "draw/QtDrawObjEditor.h"

#include <QApplication>

#include "draw/CDrawText.h"
#include "draw/CPropertySheet.h"
#include "draw/CShapePage.h"

namespace {

const QString kSheetCaption = QStringLiteral("Formeigenschaften");
const QString kPageTitle = QStringLiteral("Allgemein");

}  // namespace

QtDrawObjEditor::QtDrawObjEditor(CTextPage::FontChooser chooseFont)
    : chooseFont_(std::move(chooseFont))
{
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

void QtDrawObjEditor::EditItem(CDrawOleObj&)
{
    // Embedded objects' dialogs are not there yet.
}

void QtDrawObjEditor::OpenItem(CDrawOleObj&, DrawViewSite*)
{
    // Embedded objects' dialogs are not there yet.
}
