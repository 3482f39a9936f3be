#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

// Compound files (the OLE2 structured storage format) read and written whole, through
// libgsf. A storage holds named streams and named sub-storages; names are UTF-8 (a name may
// begin with a control character, as "\005SummaryInformation" does) of at most 31
// characters, compared exactly.
struct CompoundStorage {
    std::map<std::string, std::vector<uint8_t>> streams;
    std::map<std::string, CompoundStorage> storages;

    // The stream named `name`, or null.
    const std::vector<uint8_t>* Stream(const std::string& name) const;
    // The sub-storage named `name`, or null.
    const CompoundStorage* Storage(const std::string& name) const;

    friend bool operator==(const CompoundStorage&, const CompoundStorage&) = default;
};

// Reads the whole tree of the compound file at `path`. Throws ArchiveException: FileError
// when the file cannot be read, BadFormat when it is no compound file or a damaged one
// (streams that together claim more bytes than the file holds, a stream that cannot be
// read, two entries of one name, storages nested deeper than 32, a root directory entry with
// siblings). What libgsf and GLib log meanwhile is not printed.
CompoundStorage ReadCompoundFile(const std::string& path);

// Writes `root` as a new compound file at `path`, atomically: the bytes go to a temporary
// file beside it that replaces the target only when complete. Throws ArchiveException
// (FileError) when that fails, and std::invalid_argument for a name that is empty, longer
// than 31 characters or holds '/', '\\', ':' or '!'; the target is then left as it was.
void WriteCompoundFile(const std::string& path, const CompoundStorage& root);
