#include "framework/CompoundFile.h"

#include <gsf/gsf-infile-msole.h>
#include <gsf/gsf-infile.h>
#include <gsf/gsf-input-memory.h>
#include <gsf/gsf-outfile-msole.h>
#include <gsf/gsf-outfile.h>
#include <gsf/gsf-output-memory.h>
#include <gsf/gsf-utils.h>

#include <algorithm>
#include <iterator>
#include <mutex>
#include <stdexcept>

#include "framework/ArchiveException.h"
#include "framework/ByteStream.h"

namespace {

constexpr int kMaxDepth = 32;
constexpr size_t kMaxNameLength = 31;
constexpr size_t kChunk = 64 * 1024;

// How deep this thread is in reading or writing a compound file.
thread_local int t_inGsf = 0;

// Damaged files make libgsf and the GLib beneath it log warnings, from several domains (one
// of them the default domain, for a child that cannot be opened); the reader reports the
// damage as its own errors. Messages logged while this thread reads or writes a compound file
// go nowhere, whatever their domain; others are printed as GLib prints them. libgsf, GObject,
// GIO and GLib log through g_log, which hands every domain without a handler of its own to
// the default handler.
void LogHandler(const gchar* domain, GLogLevelFlags level, const gchar* message, gpointer data)
{
    if (t_inGsf == 0) {
        g_log_default_handler(domain, level, message, data);
    }
}

// Initializes libgsf and the log handler once, and holds this thread's messages back for the
// scope's life.
class GsfScope {
public:
    GsfScope()
    {
        static std::once_flag once;
        std::call_once(once, [] {
            gsf_init();
            g_log_set_default_handler(LogHandler, nullptr);
        });
        ++t_inGsf;
    }
    ~GsfScope() { --t_inGsf; }
    GsfScope(const GsfScope&) = delete;
    GsfScope& operator=(const GsfScope&) = delete;
};

// Owns one reference of a GObject.
template <class T>
struct GRef {
    explicit GRef(T* object = nullptr) : p(object) {}
    ~GRef()
    {
        if (p) {
            g_object_unref(p);
        }
    }
    GRef(const GRef&) = delete;
    GRef& operator=(const GRef&) = delete;
    T* p;
};

[[noreturn]] void BadFile(const std::string& path, const std::string& what)
{
    throw ArchiveException(ArchiveException::BadFormat, path + ": " + what);
}

std::string TakeMessage(GError* error)
{
    std::string text = error && error->message ? error->message : "unknown error";
    if (error) {
        g_error_free(error);
    }
    return text;
}

uint32_t LittleEndian(const std::vector<uint8_t>& bytes, size_t at, int size)
{
    uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i) {
        value = value << 8 | bytes[at + static_cast<size_t>(i)];
    }
    return value;
}

// Whether the root entry of the directory links to siblings. The root is alone at the top
// of the directory tree, so that its sibling ids must be "none" (0xFFFFFFFF); libgsf follows
// them anyway and then loses the entries it finds there (they never reach the tree, and their
// memory is never freed). The header and the root entry are found as libgsf finds them; when
// they lie outside the file, libgsf refuses the file by itself.
bool RootHasSiblings(const std::vector<uint8_t>& bytes)
{
    static const uint8_t kSignature[] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
    constexpr size_t kHeaderSize = 512;
    constexpr size_t kSectorShift = 0x1E;     // uint16: sectors of 2^shift bytes
    constexpr size_t kDirectoryStart = 0x30;  // uint32: the directory's first sector
    constexpr size_t kEntrySize = 128;
    constexpr size_t kLeftSibling = 0x44;  // uint32 in an entry, then the right sibling
    constexpr uint32_t kNoEntry = 0xFFFFFFFF;
    if (bytes.size() < kHeaderSize ||
        !std::equal(std::begin(kSignature), std::end(kSignature), bytes.begin())) {
        return false;
    }
    uint32_t shift = LittleEndian(bytes, kSectorShift, 2);
    if (shift < 6 || shift > 30) {
        return false;
    }
    // Sector n starts after the header, which takes a whole sector when sectors are larger.
    uint64_t sector = uint64_t{1} << shift;
    uint64_t entry = std::max<uint64_t>(kHeaderSize, sector) +
                     (uint64_t{LittleEndian(bytes, kDirectoryStart, 4)} << shift);
    if (entry > bytes.size() || bytes.size() - entry < kEntrySize) {
        return false;
    }
    size_t at = static_cast<size_t>(entry) + kLeftSibling;
    return LittleEndian(bytes, at, 4) != kNoEntry || LittleEndian(bytes, at + 4, 4) != kNoEntry;
}

struct ReadLimits {
    const std::string& path;
    uint64_t bytesLeft;  // no stream can hold more than the file
};

std::vector<uint8_t> ReadStream(GsfInput* input, const std::string& name, ReadLimits& limits)
{
    gsf_off_t size = gsf_input_size(input);
    if (size < 0 || static_cast<uint64_t>(size) > limits.bytesLeft) {
        BadFile(limits.path, "stream \"" + name + "\" claims more bytes than the file holds");
    }
    limits.bytesLeft -= static_cast<uint64_t>(size);
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    size_t done = 0;
    while (done < bytes.size()) {
        size_t n = std::min(kChunk, bytes.size() - done);
        if (!gsf_input_read(input, n, bytes.data() + done)) {
            BadFile(limits.path, "stream \"" + name + "\" cannot be read");
        }
        done += n;
    }
    return bytes;
}

void ReadStorage(GsfInfile* infile, CompoundStorage& storage, ReadLimits& limits, int depth)
{
    if (depth > kMaxDepth) {
        BadFile(limits.path, "storages nested too deep");
    }
    int count = gsf_infile_num_children(infile);
    for (int i = 0; i < count; ++i) {
        const char* rawName = gsf_infile_name_by_index(infile, i);
        GRef<GsfInput> child(gsf_infile_child_by_index(infile, i));
        if (!rawName || !child.p) {
            BadFile(limits.path, "a directory entry cannot be opened");
        }
        std::string name = rawName;
        if (storage.streams.count(name) || storage.storages.count(name)) {
            BadFile(limits.path, "two entries named \"" + name + "\"");
        }
        bool isStorage =
            GSF_IS_INFILE(child.p) && gsf_infile_num_children(GSF_INFILE(child.p)) >= 0;
        if (isStorage) {
            ReadStorage(GSF_INFILE(child.p), storage.storages[name], limits, depth + 1);
        } else {
            storage.streams[name] = ReadStream(child.p, name, limits);
        }
    }
}

void CheckName(const std::string& name)
{
    size_t characters = 0;
    for (unsigned char c : name) {
        characters += (c & 0xC0) != 0x80;
    }
    if (name.empty() || characters > kMaxNameLength ||
        name.find_first_of("/\\:!") != std::string::npos) {
        throw std::invalid_argument("compound file entry name \"" + name + "\" is not allowed");
    }
}

void CheckNames(const CompoundStorage& storage)
{
    for (const auto& [name, bytes] : storage.streams) {
        CheckName(name);
        if (storage.storages.count(name)) {
            throw std::invalid_argument("\"" + name + "\" is both a stream and a storage");
        }
    }
    for (const auto& [name, sub] : storage.storages) {
        CheckName(name);
        CheckNames(sub);
    }
}

bool WriteStorage(GsfOutfile* outfile, const CompoundStorage& storage)
{
    for (const auto& [name, bytes] : storage.streams) {
        GRef<GsfOutput> child(gsf_outfile_new_child(outfile, name.c_str(), FALSE));
        if (!child.p) {
            return false;
        }
        bool ok = gsf_output_write(child.p, bytes.size(), bytes.data());
        ok = gsf_output_close(child.p) && ok;
        if (!ok) {
            return false;
        }
    }
    for (const auto& [name, sub] : storage.storages) {
        GRef<GsfOutput> child(gsf_outfile_new_child(outfile, name.c_str(), TRUE));
        if (!child.p) {
            return false;
        }
        bool ok = WriteStorage(GSF_OUTFILE(child.p), sub);
        ok = gsf_output_close(child.p) && ok;
        if (!ok) {
            return false;
        }
    }
    return true;
}

}  // namespace

const std::vector<uint8_t>* CompoundStorage::Stream(const std::string& name) const
{
    auto it = streams.find(name);
    return it == streams.end() ? nullptr : &it->second;
}

const CompoundStorage* CompoundStorage::Storage(const std::string& name) const
{
    auto it = storages.find(name);
    return it == storages.end() ? nullptr : &it->second;
}

CompoundStorage ReadCompoundFile(const std::string& path)
{
    FileInputStream file(path);
    std::vector<uint8_t> bytes(static_cast<size_t>(file.Remaining()));
    if (file.Read(bytes.data(), bytes.size()) != bytes.size()) {
        throw ArchiveException(ArchiveException::FileError, path + ": cannot read");
    }
    if (RootHasSiblings(bytes)) {
        BadFile(path, "the root directory entry has siblings");
    }
    GsfScope scope;
    GRef<GsfInput> input(
        gsf_input_memory_new(bytes.data(), static_cast<gsf_off_t>(bytes.size()), FALSE));
    GError* error = nullptr;
    GRef<GsfInfile> infile(gsf_infile_msole_new(input.p, &error));
    if (!infile.p) {
        BadFile(path, "not a compound file (" + TakeMessage(error) + ")");
    }
    if (error) {
        g_error_free(error);
    }
    CompoundStorage root;
    ReadLimits limits{path, bytes.size()};
    ReadStorage(infile.p, root, limits, 0);
    return root;
}

void WriteCompoundFile(const std::string& path, const CompoundStorage& root)
{
    CheckNames(root);
    GsfScope scope;
    GRef<GsfOutput> sink(gsf_output_memory_new());
    bool ok = false;
    {
        GRef<GsfOutfile> outfile(gsf_outfile_msole_new(sink.p));
        ok = outfile.p && WriteStorage(outfile.p, root);
        ok = outfile.p && gsf_output_close(GSF_OUTPUT(outfile.p)) && ok;
    }
    if (!ok) {
        throw ArchiveException(ArchiveException::FileError,
                               path + ": cannot build the compound file");
    }
    if (!gsf_output_is_closed(sink.p)) {
        gsf_output_close(sink.p);
    }
    const guint8* data = gsf_output_memory_get_bytes(reinterpret_cast<GsfOutputMemory*>(sink.p));
    gsf_off_t size = gsf_output_size(sink.p);
    AtomicFileOutputStream file(path);
    if (size > 0) {
        file.Write(data, static_cast<size_t>(size));
    }
    file.Commit();
}
