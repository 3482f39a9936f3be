#pragma once

class CDrawDoc;
class CDrawObj;
class CDrawOleObj;
class CDrawText;
class DrawViewSite;

// The dialogs behind EditProperties and OpenInView of drawing objects. The editor installs
// one; without one these operations do nothing. Each call runs modally and applies what the
// user confirmed to the object (repaint, modified flag) itself.
class DrawObjEditor {
public:
    virtual ~DrawObjEditor() = default;

    // The shape sheet of rectangles, lines, ellipses, polygons and polylines.
    virtual void EditShape(CDrawObj& object) = 0;
    // The text sheet; the object's font record already holds the system font when it had none.
    virtual void EditText(CDrawText& object) = 0;
    // The properties dialog of an embedded object.
    virtual void EditItem(CDrawOleObj& object) = 0;
    // Opens an embedded object from `view` (may be null): its open verb while Ctrl is held,
    // else its primary verb.
    virtual void OpenItem(CDrawOleObj& object, DrawViewSite* view) = 0;

    // A map document is going away: forget whatever refers to it or its items (files open
    // in other programs, say). Called by the document's destructor.
    virtual void DocumentGone(CDrawDoc* document) { (void)document; }

    // The installed editor, or null. Not owned.
    static DrawObjEditor* Installed();
    static void Install(DrawObjEditor* editor);
};
