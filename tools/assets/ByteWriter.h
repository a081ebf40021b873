// Appends integers in little- or big-endian order to a byte vector.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

class ByteWriter {
public:
    void Byte(std::uint32_t value) { m_bytes.push_back(static_cast<std::uint8_t>(value)); }
    void Le16(std::uint32_t value)
    {
        Byte(value);
        Byte(value >> 8);
    }
    void Le32(std::uint32_t value)
    {
        Le16(value);
        Le16(value >> 16);
    }
    void Be16(std::uint32_t value)
    {
        Byte(value >> 8);
        Byte(value);
    }
    void Be32(std::uint32_t value)
    {
        Be16(value >> 16);
        Be16(value);
    }
    void Bytes(std::string_view text)
    {
        for (const char c : text)
            Byte(static_cast<unsigned char>(c));
    }
    void Bytes(const std::vector<std::uint8_t>& bytes) { m_bytes.insert(m_bytes.end(), bytes.begin(), bytes.end()); }
    std::size_t Size() const { return m_bytes.size(); }
    std::vector<std::uint8_t> Take() { return std::move(m_bytes); }

private:
    std::vector<std::uint8_t> m_bytes;
};
