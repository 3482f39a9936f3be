#pragma once

#include <cstdint>

#include "draw/view/CPropertyPage.h"
#include "draw/view/ItemOpener.h"

class CDrawDoc;
class CDrawItem;
class QLabel;
class QPushButton;

// The page "Allgemein" of an embedded object's properties: its type ("type": Bild or
// Dokument with the MIME type), name ("name"), size in bytes ("bytes"), natural size in cm
// ("natural"), whether it is embedded or linked and to which file ("storage"), and how its
// file stands ("state": a link whose file is missing, a file open in another program that
// has not been written back). The object is item `number` of `doc`, looked up anew for
// each use.
//
// A linked object has the button "In die Karte übernehmen" ("embed"): the object becomes an
// embedded copy of its file at once, one undo step of the map that marks it modified. When
// the file cannot be read the user is told (Prompts) and nothing changes.
class ItemPropertiesPage : public CPropertyPage {
public:
    // `opener` (may be null) tells whether the object is open in another program.
    ItemPropertiesPage(CDrawDoc& doc, uint32_t number, ItemOpener* opener,
                       QWidget* parent = nullptr);

    // Nothing on this page waits for OK.
    bool SaveData() override { return true; }

    // The line "state" for `item` and what the opener knows of it.
    static QString StateText(const CDrawItem& item, const ItemOpener::Status& status);

private:
    CDrawItem* Item() const;
    void Fill();
    void Embed();

    CDrawDoc& doc_;
    uint32_t number_;
    ItemOpener* opener_;
    QLabel* type_;
    QLabel* name_;
    QLabel* bytes_;
    QLabel* natural_;
    QLabel* storage_;
    QLabel* state_;
    QPushButton* embed_;
};
