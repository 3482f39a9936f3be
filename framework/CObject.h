#pragma once

#include <cstdint>

class Archive;
class CObject;

// The run-time description of a class that can be created by name while an archive is read:
// its name as written in files, its schema number, its base class and a factory.
struct CRuntimeClass {
    const char* name;
    uint16_t schema;
    const CRuntimeClass* base;  // null for CObject
    CObject* (*create)();       // null when the class cannot be created by name

    // True when this class is `other` or derives from it.
    bool IsDerivedFrom(const CRuntimeClass* other) const;
};

// Base of the objects an Archive writes and reads in its tagged object form.
class CObject {
public:
    virtual ~CObject() = default;

    static const CRuntimeClass classCObject;
    virtual const CRuntimeClass* GetRuntimeClass() const { return &classCObject; }
    bool IsKindOf(const CRuntimeClass* cls) const { return GetRuntimeClass()->IsDerivedFrom(cls); }

    // Writes or reads the object's own data by the archive's direction. Loading throws
    // ArchiveException on damaged data.
    virtual void Serialize(Archive&) {}
};

#define RUNTIME_CLASS(ClassName) (&ClassName::class##ClassName)

// In the class body: the run-time class, its query and the factory.
#define DECLARE_SERIAL(ClassName)                         \
public:                                                   \
    static const CRuntimeClass class##ClassName;          \
    const CRuntimeClass* GetRuntimeClass() const override \
    {                                                     \
        return &class##ClassName;                         \
    }                                                     \
    static CObject* CreateObject();

// In the class's source file.
#define IMPLEMENT_SERIAL(ClassName, BaseClassName, Schema) \
    CObject* ClassName::CreateObject()                     \
    {                                                      \
        return new ClassName;                              \
    }                                                      \
    const CRuntimeClass ClassName::class##ClassName = {    \
        #ClassName, Schema, RUNTIME_CLASS(BaseClassName), &ClassName::CreateObject};
