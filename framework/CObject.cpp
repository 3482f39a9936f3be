#include "framework/CObject.h"

const CRuntimeClass CObject::classCObject = {"CObject", 0xFFFF, nullptr, nullptr};

bool CRuntimeClass::IsDerivedFrom(const CRuntimeClass* other) const
{
    for (const CRuntimeClass* cls = this; cls; cls = cls->base) {
        if (cls == other) {
            return true;
        }
    }
    return false;
}
