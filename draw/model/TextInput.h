#pragma once

#include <string>
#include <vector>

class CDrawDoc;
class CDrawText;

// The text input command ("Texte eingeben"): the user types new texts for the lowest text
// objects of a map, for instance to print one layout as a series of slides with changing
// captions. The view fills the dialog from VariableTexts, and after OK gives the strings
// back to the same objects in the same order with CDrawText::SetText, each only when it
// differs from the object's text; strings beyond the objects are dropped, and the document
// is not marked modified.

// The number of texts the dialog holds.
constexpr int TEXT_INPUT_COUNT = 6;

// The text objects of `doc` from the bottom of the z-order up, at most TEXT_INPUT_COUNT.
std::vector<CDrawText*> VariableTexts(CDrawDoc& doc);

// How a single-line field shows a line break: "↵" (U+21B5) in UTF-8.
inline constexpr char LINE_BREAK_SIGN[] = "\xE2\x86\xB5";

// A record text (Windows-1252) as a single-line field shows it (UTF-8): each line break
// (CR LF, or a lone CR or LF) becomes LINE_BREAK_SIGN, which no record text can hold, as it
// has no Windows-1252 byte.
std::string LineFieldText(const std::string& recordText);
// A single-line field's text as a record text: each LINE_BREAK_SIGN becomes CR LF; other
// characters without a Windows-1252 byte become '?'.
std::string RecordTextFromLineField(const std::string& fieldText);
