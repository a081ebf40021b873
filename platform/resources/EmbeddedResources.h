// The module's resources embedded in the executable at build time, and the
// resource seam over them.
#pragma once

#include "platform/Resources.h"

#include <span>

struct EmbeddedResource {
    ResourceType type;
    UINT id;
    const BYTE* data;
    std::size_t size;
};

struct EmbeddedString {
    UINT id;
    const char* text;
};

std::span<const EmbeddedResource> EmbeddedResourceTable();
std::span<const EmbeddedString> EmbeddedStringTable();

class EmbeddedResources : public Resources {
public:
    bool Find(ResourceType type, UINT id) const override;
    ResourceBlock Load(ResourceType type, UINT id) const override;
    std::string LoadString(UINT id) const override;
};
