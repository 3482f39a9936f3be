#include <functional>
#include <memory>

#include <gtest/gtest.h>

#include "framework/Archive.h"
#include "framework/CObject.h"
#include "framework/ClassRegistry.h"

namespace {

// Test classes: a shape with one int32, a kind of shape with a second one, an item with a
// uint16, and a holder that refers to an item.
int liveObjects = 0;

class Shape : public CObject {
    DECLARE_SERIAL(Shape)
public:
    Shape() { ++liveObjects; }
    explicit Shape(int32_t v) : value(v) { ++liveObjects; }
    ~Shape() override { --liveObjects; }
    void Serialize(Archive& ar) override
    {
        if (ar.IsStoring()) {
            ar.WriteI32(value);
        } else {
            value = ar.ReadI32();
        }
    }
    int32_t value = 0;
};
IMPLEMENT_SERIAL(Shape, CObject, 0)

class Circle : public Shape {
    DECLARE_SERIAL(Circle)
};
IMPLEMENT_SERIAL(Circle, Shape, 0)

class Item : public CObject {
    DECLARE_SERIAL(Item)
public:
    Item() { ++liveObjects; }
    ~Item() override { --liveObjects; }
    void Serialize(Archive& ar) override
    {
        if (ar.IsStoring()) {
            ar.WriteU16(code);
        } else {
            code = ar.ReadU16();
        }
    }
    uint16_t code = 7;
};
IMPLEMENT_SERIAL(Item, CObject, 0)

class Holder : public Shape {
    DECLARE_SERIAL(Holder)
public:
    ~Holder() override
    {
        if (ownsItem) {
            delete item;
        }
    }
    void Serialize(Archive& ar) override
    {
        Shape::Serialize(ar);
        if (ar.IsStoring()) {
            ar.WriteObject(item);
            return;
        }
        Archive::ObjectRef ref = ar.ReadObject(RUNTIME_CLASS(Item));
        item = static_cast<Item*>(ref.object);
        ownsItem = ref.created;
    }
    Item* item = nullptr;
    bool ownsItem = false;
};
IMPLEMENT_SERIAL(Holder, Shape, 0)

// Registered with schema 1, to be read where schema 0 was written.
class Versioned : public CObject {
    DECLARE_SERIAL(Versioned)
};
IMPLEMENT_SERIAL(Versioned, CObject, 1)

const ClassRegistry kClasses = {RUNTIME_CLASS(Shape), RUNTIME_CLASS(Circle), RUNTIME_CLASS(Item),
                                RUNTIME_CLASS(Holder), RUNTIME_CLASS(Versioned)};

std::vector<uint8_t> Stored(const std::function<void(Archive&)>& write)
{
    MemoryOutputStream out;
    Archive archive(out);
    write(archive);
    return out.bytes();
}

std::vector<uint8_t> Cat(std::initializer_list<std::vector<uint8_t>> parts)
{
    std::vector<uint8_t> all;
    for (const auto& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

// 0xFFFF, schema 0, the name's length and the name.
std::vector<uint8_t> NewClass(const std::string& name, uint16_t schema = 0)
{
    std::vector<uint8_t> bytes = {0xFF,
                                  0xFF,
                                  static_cast<uint8_t>(schema),
                                  static_cast<uint8_t>(schema >> 8),
                                  static_cast<uint8_t>(name.size()),
                                  0};
    for (char c : name) {
        bytes.push_back(static_cast<uint8_t>(c));
    }
    return bytes;
}

const std::vector<uint8_t> kValue5 = {5, 0, 0, 0};

// Reads objects of `required` until the data ends; owns what it read.
struct Reader {
    explicit Reader(std::vector<uint8_t> data) : bytes(std::move(data)), in(bytes), archive(in)
    {
        archive.SetClassRegistry(&kClasses);
    }
    CObject* Next(const CRuntimeClass* required = RUNTIME_CLASS(CObject))
    {
        Archive::ObjectRef ref = archive.ReadObject(required);
        if (ref.created) {
            owned.emplace_back(ref.object);
        }
        return ref.object;
    }
    std::vector<uint8_t> bytes;
    MemoryInputStream in;
    Archive archive;
    std::vector<std::unique_ptr<CObject>> owned;
};

TEST(ArchiveString, LengthPrefixGrowsAt255AndAt0xFFFE)
{
    struct Case {
        const char* legend;
        size_t length;
        std::vector<uint8_t> prefix;
    } cases[] = {
        {"empty", 0, {0}},
        {"254 fits the byte", 254, {254}},
        {"255 escapes to a uint16", 255, {0xFF, 0xFF, 0x00}},
        {"0xFFFD is the longest uint16 length", 0xFFFD, {0xFF, 0xFD, 0xFF}},
        {"0xFFFE escapes to a uint32", 0xFFFE, {0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0, 0}},
        {"0x10000", 0x10000, {0xFF, 0xFF, 0xFF, 0, 0, 1, 0}},
    };
    for (const Case& c : cases) {
        std::string text(c.length, 'x');
        auto bytes = Stored([&](Archive& a) { a.WriteString(text); });
        ASSERT_EQ(bytes.size(), c.prefix.size() + c.length) << c.legend;
        EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + c.prefix.size()), c.prefix)
            << c.legend;
        MemoryInputStream in(bytes);
        Archive archive(in);
        EXPECT_EQ(archive.ReadString(), text) << c.legend;
        EXPECT_EQ(archive.Remaining(), 0u) << c.legend;
    }
}

TEST(ArchiveString, DamagedLengthsAreRefused)
{
    struct Case {
        const char* legend;
        std::vector<uint8_t> bytes;
        ArchiveException::Kind kind;
    } cases[] = {
        {"length beyond the data", {5, 'a', 'b'}, ArchiveException::BadFormat},
        {"uint32 length beyond the data",
         {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 'a'},
         ArchiveException::BadFormat},
        {"wide-string marker", {0xFF, 0xFE, 0xFF, 1, 'a', 0}, ArchiveException::BadFormat},
        {"cut inside the length", {0xFF, 0x10}, ArchiveException::EndOfFile},
    };
    for (const Case& c : cases) {
        MemoryInputStream in(c.bytes);
        Archive archive(in);
        try {
            archive.ReadString();
            ADD_FAILURE() << c.legend << ": no error";
        } catch (const ArchiveException& e) {
            EXPECT_EQ(e.kind(), c.kind) << c.legend << ": " << e.what();
        }
    }
}

TEST(ArchiveObjects, ClassNameIsWrittenOnceAndLaterObjectsUseItsNumber)
{
    Shape a(5), b(6);
    Circle c;
    c.value = 9;
    auto bytes = Stored([&](Archive& ar) {
        ar.WriteObject(&a);
        ar.WriteObject(&b);
        ar.WriteObject(&c);
        ar.WriteObject(&a);
        ar.WriteObject(nullptr);
    });
    // Numbers: class Shape 1, a 2, b 3, class Circle 4, c 5.
    EXPECT_EQ(bytes, Cat({NewClass("Shape"),
                          kValue5,
                          {0x01, 0x80, 6, 0, 0, 0},
                          NewClass("Circle"),
                          {9, 0, 0, 0},
                          {2, 0},
                          {0, 0}}));

    Reader r(bytes);
    auto* first = static_cast<Shape*>(r.Next());
    auto* second = static_cast<Shape*>(r.Next());
    CObject* third = r.Next(RUNTIME_CLASS(Shape));
    EXPECT_EQ(first->value, 5);
    EXPECT_EQ(second->value, 6);
    EXPECT_TRUE(third->IsKindOf(RUNTIME_CLASS(Circle)));
    EXPECT_EQ(r.Next(), first);
    EXPECT_EQ(r.Next(), nullptr);
    EXPECT_EQ(r.owned.size(), 3u);
}

TEST(ArchiveObjects, NumbersAbove32766TakeTheEscape)
{
    std::vector<std::unique_ptr<Shape>> shapes;
    for (int i = 0; i < 32767; ++i) {
        shapes.push_back(std::make_unique<Shape>(i));
    }
    Item late;
    Item later;
    auto bytes = Stored([&](Archive& ar) {
        for (const auto& s : shapes) {
            ar.WriteObject(s.get());  // class 1, objects 2 ... 32768
        }
        ar.WriteObject(&late);                // class Item 32769, object 32770
        ar.WriteObject(&later);               // class reference escaped
        ar.WriteObject(shapes[32764].get());  // object 32766: still short
        ar.WriteObject(shapes[32765].get());  // object 32767: escaped
    });
    std::vector<uint8_t> tail(bytes.end() - 16, bytes.end());
    EXPECT_EQ(tail, (std::vector<uint8_t>{0xFF, 0x7F, 0x01, 0x80, 0x00, 0x80, 7, 0,  // class 32769
                                          0xFE, 0x7F,                                // 32766
                                          0xFF, 0x7F, 0xFF, 0x7F, 0, 0}));           // 32767
    Reader r(bytes);
    for (int i = 0; i < 32767; ++i) {
        r.Next();
    }
    EXPECT_TRUE(r.Next()->IsKindOf(RUNTIME_CLASS(Item)));
    EXPECT_TRUE(r.Next()->IsKindOf(RUNTIME_CLASS(Item)));
    EXPECT_EQ(r.Next(), r.owned[32764].get());
    EXPECT_EQ(r.Next(), r.owned[32765].get());
    EXPECT_EQ(r.owned.size(), 32769u);
}

TEST(ArchiveObjects, NestedObjectIsNumberedAfterItsOwnerAndReferredBackLater)
{
    Holder holder;
    holder.value = 5;
    Item item;
    holder.item = &item;
    auto bytes = Stored([&](Archive& ar) {
        ar.WriteObject(&holder);
        ar.WriteObject(&item);
    });
    // Holder class 1, holder 2, Item class 3, item 4.
    EXPECT_EQ(bytes, Cat({NewClass("Holder"), kValue5, NewClass("Item"), {7, 0}, {4, 0}}));
    Reader r(bytes);
    auto* read = static_cast<Holder*>(r.Next(RUNTIME_CLASS(Shape)));
    EXPECT_TRUE(read->ownsItem);
    EXPECT_EQ(r.Next(RUNTIME_CLASS(Item)), read->item);
}

TEST(ArchiveObjects, DamagedReferencesAreFormatErrorsAndLeaveNothingBehind)
{
    struct Case {
        const char* legend;
        std::vector<uint8_t> bytes;
        const CRuntimeClass* required;
        ArchiveException::Kind kind;
    } cases[] = {
        {"unknown class", Cat({NewClass("Square"), kValue5}), RUNTIME_CLASS(CObject),
         ArchiveException::BadFormat},
        {"class name of another case", Cat({NewClass("shape"), kValue5}), RUNTIME_CLASS(CObject),
         ArchiveException::BadFormat},
        {"schema other than registered", NewClass("Versioned"), RUNTIME_CLASS(CObject),
         ArchiveException::BadFormat},
        {"class of the wrong kind", Cat({NewClass("Item"), {7, 0}}), RUNTIME_CLASS(Shape),
         ArchiveException::BadFormat},
        {"object number never assigned",
         {3, 0},
         RUNTIME_CLASS(CObject),
         ArchiveException::BadFormat},
        {"class number never assigned", Cat({{0x02, 0x80}, kValue5}), RUNTIME_CLASS(CObject),
         ArchiveException::BadFormat},
        {"class tag naming an object", Cat({NewClass("Shape"), kValue5, {0x02, 0x80}, kValue5}),
         RUNTIME_CLASS(CObject), ArchiveException::BadFormat},
        {"object reference naming a class", Cat({NewClass("Shape"), kValue5, {1, 0}}),
         RUNTIME_CLASS(CObject), ArchiveException::BadFormat},
        {"escaped number never assigned",
         {0xFF, 0x7F, 0x10, 0, 0, 0},
         RUNTIME_CLASS(CObject),
         ArchiveException::BadFormat},
        {"class name longer than the data",
         {0xFF, 0xFF, 0, 0, 0xFF, 0xFF, 'S'},
         RUNTIME_CLASS(CObject),
         ArchiveException::BadFormat},
        {"object data cut short", Cat({NewClass("Shape"), {5, 0}}), RUNTIME_CLASS(CObject),
         ArchiveException::EndOfFile},
        {"nested object cut short", Cat({NewClass("Holder"), kValue5, NewClass("Item"), {7}}),
         RUNTIME_CLASS(CObject), ArchiveException::EndOfFile},
        {"tag cut short", {0xFF}, RUNTIME_CLASS(CObject), ArchiveException::EndOfFile},
    };
    for (const Case& c : cases) {
        int before = liveObjects;
        {
            Reader r(c.bytes);
            try {
                for (;;) {
                    r.Next(c.required);
                }
            } catch (const ArchiveException& e) {
                EXPECT_EQ(e.kind(), c.kind) << c.legend << ": " << e.what();
            }
        }
        EXPECT_EQ(liveObjects, before) << c.legend;
    }
}

TEST(ArchiveObjects, BackReferenceOfTheWrongKindIsRefused)
{
    Reader r(Cat({NewClass("Item"), {7, 0}, {2, 0}}));
    r.Next(RUNTIME_CLASS(Item));
    EXPECT_THROW(r.Next(RUNTIME_CLASS(Shape)), ArchiveException);
}

TEST(ArchiveObjects, WithoutRegistryEveryClassIsUnknown)
{
    Shape a(5);
    auto bytes = Stored([&](Archive& ar) { ar.WriteObject(&a); });
    MemoryInputStream in(bytes);
    Archive archive(in);
    EXPECT_THROW(archive.ReadObject(RUNTIME_CLASS(CObject)), ArchiveException);
}

}  // namespace
