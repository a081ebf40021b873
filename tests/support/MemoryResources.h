// Bitmap resources held in memory, for tests and benchmarks that make their
// own pictures.
#pragma once

#include "platform/Resources.h"

#include <map>
#include <vector>

class MemoryResources : public Resources {
public:
    bool Find(ResourceType type, UINT id) const override
    {
        return type == ResourceType::Bitmap && m_bitmaps.count(id) != 0;
    }
    ResourceBlock Load(ResourceType type, UINT id) const override
    {
        if (!Find(type, id))
            return {};
        const auto& bytes = m_bitmaps.at(id);
        return ResourceBlock{bytes.data(), bytes.size()};
    }
    std::string LoadString(UINT) const override { return {}; }

    std::map<UINT, std::vector<BYTE>> m_bitmaps;
};
