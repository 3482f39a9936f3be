#pragma once

#include <stdexcept>
#include <string>

// The typed errors of loading and storing documents. `what()` carries a technical detail
// for the command line; UserMessage() is the program's text for a message box.
class ArchiveException : public std::runtime_error {
public:
    enum Kind {
        EndOfFile,    // the data ended inside a value, record or collection
        BadFormat,    // the data cannot be what it claims (impossible counts, unknown tags)
        OutOfMemory,  // a count that cannot be allocated
        FileError,    // the file could not be opened, read or written
    };

    ArchiveException(Kind kind, const std::string& detail) : std::runtime_error(detail), kind_(kind)
    {
    }

    Kind kind() const { return kind_; }

    // "Unexpected file format." for damaged data, "Failed to open document." when the
    // document cannot be opened at all; writing failures give "Failed to save document.".
    const char* UserMessage(bool storing = false) const
    {
        switch (kind_) {
        case EndOfFile:
        case BadFormat:
            return "Unexpected file format.";
        case OutOfMemory:
            return "Failed to open document.";
        case FileError:
            break;
        }
        return storing ? "Failed to save document." : "Failed to open document.";
    }

private:
    Kind kind_;
};
