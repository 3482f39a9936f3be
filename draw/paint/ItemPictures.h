#pragma once

#include <string>
#include <vector>

#include <QRectF>

#include "draw/model/CDrawItem.h"

class QPainter;

// How embedded objects look: pictures (PNG, JPEG, BMP, SVG) fitted into their rectangle,
// every other file (and a picture that cannot be read) as a document icon with the file
// name under it. Decoded pictures stay with the item until its content changes.

// Paints `item` into `box` (painter units). A linked item's file is read from its path the
// first time; when it is missing or holds no picture, the bytes last read from it are shown.
void PaintItem(QPainter& painter, const CDrawItem& item, const QRectF& box);

// The natural size of picture bytes of MIME type `mimeType` in 0.01 mm, at 96 pixels per
// inch; the icon's size for anything else.
CSize NaturalExtent(const std::string& mimeType, const std::vector<uint8_t>& bytes);

// True when `bytes` decode completely as a picture of MIME type `mimeType` (a file cut short
// does not).
bool DecodesAsPicture(const std::string& mimeType, const std::vector<uint8_t>& bytes);

// Fills `item` from the file at `path`: a copy of it (OT_EMBEDDED), a link to it (OT_LINK)
// or its picture (OT_STATIC, pictures only), with its MIME type from the file's content and
// name and its natural extent; a link keeps the bytes it read as the last read. False with
// `error` set when the file cannot be read or, for OT_STATIC, holds no picture.
bool LoadItemFromFile(CDrawItem& item, const std::string& path, ItemType type, std::string& error);

// Makes the linked `item` an embedded copy of its file, keeping its name. False with `error`
// set, and the item unchanged, when the file cannot be read.
bool EmbedLinkedFile(CDrawItem& item, std::string& error);
