#pragma once

#include <memory>

#include "draw/model/DrawObjEditor.h"
#include "draw/view/CTextPage.h"

class ItemOpener;

// The editor's dialogs for drawing objects: the property sheets "Formeigenschaften" of
// shapes and texts and "Objekt-Eigenschaften" of embedded objects, modal over the active
// window; and the open verb of embedded objects. OK gives the page's values back to the
// object (repainted, document marked modified); "Abbrechen" changes nothing.
class QtDrawObjEditor : public DrawObjEditor {
public:
    // `chooseFont` runs the text page's font dialog; without one the standard dialog.
    explicit QtDrawObjEditor(CTextPage::FontChooser chooseFont = {});
    ~QtDrawObjEditor() override;

    void EditShape(CDrawObj& object) override;
    // A text without the font flag first gets the system font in its font record, so that
    // the font dialog starts from it.
    void EditText(CDrawText& object) override;
    // The sheet "Objekt-Eigenschaften" with the ItemPropertiesPage of the object's item.
    void EditItem(CDrawOleObj& object) override;
    // The open and the primary verb alike: the object's file goes to the desktop's default
    // program and comes back when it is saved there (ItemOpener). An object outside a
    // document is left alone.
    void OpenItem(CDrawOleObj& object, DrawViewSite* view) override;
    // Stops watching the files of the document's objects and removes their temporary copies.
    void DocumentGone(CDrawDoc* document) override;

    // The objects open in other programs; made on first use.
    ItemOpener& Opener();

private:
    CTextPage::FontChooser chooseFont_;
    std::unique_ptr<ItemOpener> opener_;
};
