#pragma once

#include <initializer_list>
#include <string_view>
#include <vector>

#include "framework/CObject.h"

// The classes an archive may create by name while it reads tagged objects. Holds pointers to
// the classes' static descriptions; a name is found by exact comparison.
class ClassRegistry {
public:
    ClassRegistry() = default;
    ClassRegistry(std::initializer_list<const CRuntimeClass*> classes) : classes_(classes) {}

    void Add(const CRuntimeClass* cls) { classes_.push_back(cls); }
    // The class named `name` that can be created, or null.
    const CRuntimeClass* Find(std::string_view name) const;

private:
    std::vector<const CRuntimeClass*> classes_;
};
