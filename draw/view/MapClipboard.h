#pragma once

#include <string>
#include <vector>

#include <QString>

#include "framework/Geometry.h"

class CDrawDoc;
class CDrawObj;
class QMimeData;

// The map's objects on the clipboard and in drag and drop.
namespace MapClipboard {

// "Skizel Objects", as the clipboard of this desktop names a private format.
QString ObjectsMimeType();
// The content of the embedded objects that goes with them.
QString ItemsMimeType();

// What copying `objects` (in this order) offers: the objects and their embedded content for
// maps, a PNG and an SVG picture of them for other programs, and for a single embedded
// object also its own data under its own MIME type (a single embedded picture offers its
// bytes as the PNG or JPEG).
QMimeData* Copy(const std::vector<CDrawObj*>& objects);

// Whether pasting `data` makes objects: map objects, or an embedded object from pictures
// (every image type this program reads), SVG drawings or local files.
bool CanPaste(const QMimeData* data);
// Whether `data` can become an embedded object (what a drop takes).
bool CanEmbed(const QMimeData* data);
// The size of what a drop of `data` makes, in document units; (0, 0) when not known.
CSize EmbedSize(const QMimeData* data);

// Pastes map objects on top of `doc`, or else embedded objects made from `data` with their
// top-left corner at `topLeft` (several files lie 10 units apart). Returns the new objects.
// Nothing changes when it fails: empty result and `error` set (a damaged objects block, or
// nothing that can be embedded).
std::vector<CDrawObj*> Paste(CDrawDoc& doc, const QMimeData& data, CPoint topLeft,
                             std::string& error);
// Only the embedded objects `data` can make (a drop).
std::vector<CDrawObj*> Embed(CDrawDoc& doc, const QMimeData& data, CPoint topLeft,
                             std::string& error);

}  // namespace MapClipboard
