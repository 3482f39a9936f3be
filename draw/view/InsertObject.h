#pragma once

#include <functional>
#include <string>

#include "framework/Geometry.h"

class CDrawDoc;
class CDrawItem;
class QString;
class QWidget;

// The kinds of new objects offered: files this desktop has programs for.
enum class NewObjectKind {
    picture,  // "Bild (PNG)": a white 400 x 300 PNG
    text,     // "Textdokument": an empty text file
};

// What the user chose in the dialog "Objekt einfügen".
struct InsertObjectChoice {
    bool fromFile = false;
    NewObjectKind kind = NewObjectKind::picture;  // unless fromFile
    std::string path;                             // with fromFile
    bool link = false;                            // with fromFile: linked instead of copied
};

// What InsertNewObject asks the user through; tests replace these. An empty function means
// the program's own dialog.
struct InsertObjectSeams {
    // The dialog "Objekt einfügen"; false for Cancel.
    std::function<bool(InsertObjectChoice& choice, QWidget* parent)> choose;
    // The file dialog behind the dialog's "Durchsuchen..."; empty for Cancel.
    std::function<QString(QWidget* parent)> chooseFile;
};
InsertObjectSeams& InsertObjectHooks();

// The command "Insert New Object": asks what to insert and puts it on the map as an embedded
// object at the top-left corner of `position` (document units), sized from the item's
// natural extent, on top of the z-order; one undo step, the document marked modified. A new
// object is opened in the desktop's program at once (its open verb). Returns true when an
// object was added (it is the last of doc.ObjectList()); false for Cancel, and after the
// message "Failed to create object..." (Prompts) when the file cannot be read, the document
// then unchanged.
bool InsertNewObject(CDrawDoc& doc, const CRect& position, QWidget* parent);

// Fills `item` with the file of a new object of `kind`: its name, MIME type, bytes and
// natural extent.
void MakeNewObjectFile(CDrawItem& item, NewObjectKind kind);
