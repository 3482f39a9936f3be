#pragma once

#include "draw/CTextPage.h"
#include "draw/DrawObjEditor.h"

// The editor's dialogs for drawing objects: the property sheets "Formeigenschaften" of
// shapes and texts, modal over the active window. OK gives the page's values back to the
// object (repainted, document marked modified); "Abbrechen" changes nothing.
class QtDrawObjEditor : public DrawObjEditor {
public:
    // `chooseFont` runs the text page's font dialog; without one the standard dialog.
    explicit QtDrawObjEditor(CTextPage::FontChooser chooseFont = {});

    void EditShape(CDrawObj& object) override;
    // A text without the font flag first gets the system font in its font record, so that
    // the font dialog starts from it.
    void EditText(CDrawText& object) override;
    // Embedded objects' dialogs do not exist yet: nothing happens.
    void EditItem(CDrawOleObj& object) override;
    void OpenItem(CDrawOleObj& object, DrawViewSite* view) override;

private:
    CTextPage::FontChooser chooseFont_;
};
