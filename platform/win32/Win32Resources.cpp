#include "platform/win32/Win32Resources.h"

namespace {
LPCSTR TypeOf(ResourceType type)
{
    switch (type) {
    case ResourceType::Bitmap:
        return MAKEINTRESOURCEA(2);
    case ResourceType::Icon:
        return MAKEINTRESOURCEA(14);
    case ResourceType::MouseCursor:
        return MAKEINTRESOURCEA(12);
    case ResourceType::Dialog:
        return MAKEINTRESOURCEA(5);
    case ResourceType::RcData:
        break;
    }
    return MAKEINTRESOURCEA(10);
}
}

bool Win32Resources::Find(ResourceType type, UINT id) const
{
    return ::FindResourceA(m_hInstance, MAKEINTRESOURCEA(id & 0xFFFF), TypeOf(type)) != nullptr;
}

ResourceBlock Win32Resources::Load(ResourceType type, UINT id) const
{
    const HRSRC found = ::FindResourceA(m_hInstance, MAKEINTRESOURCEA(id & 0xFFFF), TypeOf(type));
    if (found == nullptr)
        return {};
    const HGLOBAL loaded = ::LoadResource(m_hInstance, found);
    if (loaded == nullptr)
        return {};
    const void* data = ::LockResource(loaded);
    if (data == nullptr)
        return {};
    return ResourceBlock{static_cast<const BYTE*>(data), ::SizeofResource(m_hInstance, found)};
}

std::string Win32Resources::LoadString(UINT id) const
{
    char text[512];
    const int length = ::LoadStringA(m_hInstance, id, text, static_cast<int>(sizeof text));
    return std::string(text, length > 0 ? static_cast<std::size_t>(length) : 0);
}
