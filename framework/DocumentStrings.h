#pragma once

#include <string>

// The seven fields of a document type's string, separated by line breaks: window title,
// document name, name in the "new" list, file-dialog filter name, file extension, type id
// and type name for the desktop. Missing fields are empty.
struct DocumentStrings {
    std::string windowTitle;
    std::string documentName;
    std::string newName;
    std::string filterName;
    std::string extension;  // with its dot, ".orvd"
    std::string typeId;
    std::string typeName;

    static DocumentStrings Parse(const std::string& text);
};
