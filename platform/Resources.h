// The resource seam: the module's own resources by integer id, with the
// find / load / lock steps of the Win32 resource functions.
#pragma once

#include "platform/WinApi.h"

#include <cstddef>
#include <string>

enum class ResourceType { Bitmap, Icon, MouseCursor, RcData, Dialog };

struct ResourceBlock {
    const BYTE* data = nullptr;
    std::size_t size = 0;
};

class Resources {
public:
    virtual ~Resources() = default;

    // FindResourceA with the low 16 bits of the id; false when there is none.
    virtual bool Find(ResourceType type, UINT id) const = 0;
    // LoadResource, LockResource and SizeofResource: the resource's bytes,
    // which stay valid as long as the module. Empty when loading fails.
    virtual ResourceBlock Load(ResourceType type, UINT id) const = 0;
    // LoadStringA: the string of the string table, empty when there is none.
    virtual std::string LoadString(UINT id) const = 0;
};
