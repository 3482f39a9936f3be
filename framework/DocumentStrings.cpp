#include "framework/DocumentStrings.h"

DocumentStrings DocumentStrings::Parse(const std::string& text)
{
    DocumentStrings s;
    std::string* fields[] = {&s.windowTitle, &s.documentName, &s.newName, &s.filterName,
                             &s.extension,   &s.typeId,       &s.typeName};
    size_t field = 0;
    for (char c : text) {
        if (c == '\n') {
            if (++field >= std::size(fields)) {
                break;
            }
            continue;
        }
        *fields[field] += c;
    }
    return s;
}
