#include "platform/win32/Win32Files.h"

#include <new>

namespace {

class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : m_hFile(handle) {}
    ~FileHandle()
    {
        if (m_hFile != INVALID_HANDLE_VALUE)
            CloseHandle(m_hFile);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    HANDLE Get() const { return m_hFile; }

private:
    HANDLE m_hFile;
};

} // namespace

FileReadResult Win32Files::ReadWholeFile(const std::string& path, std::size_t maxBytes, std::vector<BYTE>& bytes)
{
    bytes.clear();
    const FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
        FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (file.Get() == INVALID_HANDLE_VALUE)
        return FileReadResult::OpenFailed;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.Get(), &size) || size.QuadPart < 0)
        return FileReadResult::OpenFailed;
    if (static_cast<unsigned long long>(size.QuadPart) > maxBytes)
        return FileReadResult::TooLarge;
    try {
        bytes.resize(static_cast<std::size_t>(size.QuadPart));
    } catch (const std::bad_alloc&) {
        return FileReadResult::NoMemory;
    }
    std::size_t used = 0;
    while (used < bytes.size()) {
        const std::size_t step = bytes.size() - used;
        const DWORD want = step > 0x40000000u ? 0x40000000u : static_cast<DWORD>(step);
        DWORD got = 0;
        if (!ReadFile(file.Get(), bytes.data() + used, want, &got, nullptr) || got == 0) {
            bytes.clear();
            return FileReadResult::ReadFailed;
        }
        used += got;
    }
    return FileReadResult::Ok;
}

std::string Win32Files::TempFolder()
{
    constexpr DWORD TEMP_PATH_CHARS = 256;
    char folder[TEMP_PATH_CHARS];
    const DWORD length = ::GetTempPathA(TEMP_PATH_CHARS, folder);
    return length == 0 || length >= TEMP_PATH_CHARS ? std::string() : std::string(folder, length);
}

std::string Win32Files::TempFileName(const std::string& folder, const std::string& prefix, UINT unique)
{
    char name[MAX_PATH];
    if (::GetTempFileNameA(folder.c_str(), prefix.c_str(), unique, name) == 0)
        return std::string();
    return name;
}

bool Win32Files::WriteWholeFile(const std::string& path, const BYTE* data, std::size_t size)
{
    const FileHandle file(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.Get() == INVALID_HANDLE_VALUE)
        return false;
    while (size > 0) {
        const DWORD want = size > 0x40000000u ? 0x40000000u : static_cast<DWORD>(size);
        DWORD written = 0;
        if (!::WriteFile(file.Get(), data, want, &written, nullptr) || written == 0)
            break;
        data += written;
        size -= written;
    }
    return true;
}

bool Win32Files::RemoveFile(const std::string& path)
{
    return ::DeleteFileA(path.c_str()) != FALSE;
}
