#include "platform/resources/EmbeddedResources.h"

namespace {
const EmbeddedResource* Lookup(ResourceType type, UINT id)
{
    const UINT shortId = id & 0xFFFF;
    for (const auto& resource : EmbeddedResourceTable())
        if (resource.type == type && resource.id == shortId)
            return &resource;
    return nullptr;
}
}

bool EmbeddedResources::Find(ResourceType type, UINT id) const { return Lookup(type, id) != nullptr; }

ResourceBlock EmbeddedResources::Load(ResourceType type, UINT id) const
{
    const auto* resource = Lookup(type, id);
    return resource ? ResourceBlock{resource->data, resource->size} : ResourceBlock{};
}

std::string EmbeddedResources::LoadString(UINT id) const
{
    for (const auto& entry : EmbeddedStringTable())
        if (entry.id == (id & 0xFFFF))
            return entry.text;
    return {};
}
