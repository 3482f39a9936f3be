#include "framework/ClassRegistry.h"

const CRuntimeClass* ClassRegistry::Find(std::string_view name) const
{
    for (const CRuntimeClass* cls : classes_) {
        if (cls->create && name == cls->name) {
            return cls;
        }
    }
    return nullptr;
}
