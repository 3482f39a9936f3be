#pragma once

#include <functional>

#include "draw/model/PropertyPageValues.h"
#include "draw/view/CPropertyPage.h"

class QCheckBox;
class QFont;
class QPlainTextEdit;

// The page "Allgemein" of a text's property sheet: group "Text" with the multi-line edit
// ("edit108"), group "Darstellung" with "Transparenter Hintergrund" ("check103"), and the
// button "Schriftart" ("button124").
//
// The page works on a copy of the font record: a font chosen in the font dialog reaches
// the object only when the sheet ends with OK (then with the font flag set).
class CTextPage : public CPropertyPage {
public:
    // Shows the font dialog starting from `font`; true when the user confirmed a font, which
    // is then in `font`.
    using FontChooser = std::function<bool(QFont& font, QWidget* parent)>;

    // Without a chooser the page uses the standard font dialog.
    explicit CTextPage(const TextPageValues& values, FontChooser chooseFont = {},
                       QWidget* parent = nullptr);

    const TextPageValues& Values() const { return values_; }

    // The font button: the font dialog starts from the page's font record; a confirmed font
    // replaces the record (the colour is not kept) and sets the font flag.
    void OnFont();

    // Takes text and transparency; refuses nothing.
    bool SaveData() override;

    // The standard font dialog.
    static bool ChooseFontInDialog(QFont& font, QWidget* parent);

private:
    TextPageValues values_;
    FontChooser chooseFont_;
    QPlainTextEdit* text_;
    QCheckBox* transparent_;
};
