#include <gtest/gtest.h>
#include <sys/stat.h>

#include "framework/Archive.h"
#include "framework/Document.h"
#include "tests/TempDir.h"

namespace {

// A document of raw bytes that can be told to fail halfway through storing.
class BytesDoc : public Document {
public:
    std::vector<uint8_t> bytes;
    bool failWhileStoring = false;

    void Serialize(Archive& archive) override
    {
        if (archive.IsStoring()) {
            archive.Write(bytes.data(), bytes.size() / 2);
            if (failWhileStoring) {
                throw ArchiveException(ArchiveException::FileError, "disk full");
            }
            archive.Write(bytes.data() + bytes.size() / 2, bytes.size() - bytes.size() / 2);
        } else {
            bytes.resize(archive.Remaining());
            archive.Read(bytes.data(), bytes.size());
        }
    }
};

TEST(AtomicSave, AFailedSaveLeavesThePreviousFileWholeAndNoTemporaryFile)
{
    TempDir dir;
    std::string path = dir.File("doc.bin");
    BytesDoc doc;
    doc.bytes.assign(200000, 0xAB);
    doc.OnSaveDocument(path);
    EXPECT_FALSE(doc.IsModified());

    doc.bytes.assign(300000, 0xCD);
    doc.failWhileStoring = true;
    doc.SetModifiedFlag();
    EXPECT_THROW(doc.OnSaveDocument(path), ArchiveException);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(ReadBytes(path), std::vector<uint8_t>(200000, 0xAB));
    size_t files = 0;
    for (auto& entry : std::filesystem::directory_iterator(dir.path())) {
        (void)entry;
        ++files;
    }
    EXPECT_EQ(files, 1u);
}

TEST(AtomicSave, ReplacesTheFileKeepingItsPermissionsAndFollowsSymbolicLinks)
{
    TempDir dir;
    std::string target = dir.File("real.bin");
    std::string link = dir.File("link.bin");
    WriteBytes(target, {1, 2, 3});
    ::chmod(target.c_str(), 0600);
    std::filesystem::create_symlink(target, link);

    BytesDoc doc;
    doc.bytes = {9, 8};
    doc.OnSaveDocument(link);
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(ReadBytes(target), (std::vector<uint8_t>{9, 8}));
    struct stat st {};
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST(AtomicSave, AMissingFolderIsAFileError)
{
    BytesDoc doc;
    try {
        doc.OnSaveDocument("/nonexistent-folder/x.bin");
        FAIL() << "no error";
    } catch (const ArchiveException& e) {
        EXPECT_EQ(e.kind(), ArchiveException::FileError);
    }
}

TEST(DocumentOpen, AMissingFileOrAFolderIsAFileError)
{
    TempDir dir;
    BytesDoc doc;
    EXPECT_THROW(doc.OnOpenDocument(dir.File("none")), ArchiveException);
    EXPECT_THROW(doc.OnOpenDocument(dir.path()), ArchiveException);
    EXPECT_EQ(doc.GetPathName(), "");
}

class RecordingView : public View {
public:
    std::vector<long> hints;
    void OnUpdate(View*, long hint, const std::any&) override { hints.push_back(hint); }
};

TEST(Document, UpdateAllViewsSkipsTheSender)
{
    BytesDoc doc;
    RecordingView a, b;
    doc.AddView(&a);
    doc.AddView(&b);
    doc.AddView(&a);
    doc.UpdateAllViews(&a, 7);
    EXPECT_TRUE(a.hints.empty());
    EXPECT_EQ(b.hints, std::vector<long>{7});
    doc.RemoveView(&b);
    doc.UpdateAllViews(nullptr, 3);
    EXPECT_EQ(a.hints, std::vector<long>{3});
    EXPECT_EQ(b.hints.size(), 1u);
}

}  // namespace
