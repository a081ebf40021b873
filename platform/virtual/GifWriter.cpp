#include "platform/virtual/GifWriter.h"

#include <array>
#include <unordered_map>

namespace {

constexpr int RED_LEVELS = 6;
constexpr int GREEN_LEVELS = 7;
constexpr int BLUE_LEVELS = 6;
constexpr int CUBE_SIZE = RED_LEVELS * GREEN_LEVELS * BLUE_LEVELS;
constexpr int MIN_CODE_SIZE = 8;
constexpr int MAX_CODE = 4095;

int Level(BYTE value, int levels) { return (value * (levels - 1) + 127) / 255; }
BYTE LevelValue(int level, int levels) { return static_cast<BYTE>(level * 255 / (levels - 1)); }

std::array<BYTE, 256 * 3> ColourTable()
{
    std::array<BYTE, 256 * 3> table{};
    for (int r = 0; r < RED_LEVELS; ++r)
        for (int g = 0; g < GREEN_LEVELS; ++g)
            for (int b = 0; b < BLUE_LEVELS; ++b) {
                const int index = (r * GREEN_LEVELS + g) * BLUE_LEVELS + b;
                table[static_cast<std::size_t>(index * 3)] = LevelValue(r, RED_LEVELS);
                table[static_cast<std::size_t>(index * 3 + 1)] = LevelValue(g, GREEN_LEVELS);
                table[static_cast<std::size_t>(index * 3 + 2)] = LevelValue(b, BLUE_LEVELS);
            }
    for (int grey = 0; grey < 256 - CUBE_SIZE; ++grey) {
        const auto value = static_cast<BYTE>(51 * (grey + 1) - 26);
        for (int channel = 0; channel < 3; ++channel)
            table[static_cast<std::size_t>((CUBE_SIZE + grey) * 3 + channel)] = value;
    }
    return table;
}

// Packs variable-width codes into the 255-byte sub-blocks of GIF data.
class CodeStream {
public:
    explicit CodeStream(std::vector<BYTE>& out) : m_out(out) {}
    void Put(int code, int width)
    {
        m_bits |= static_cast<std::uint32_t>(code) << m_count;
        m_count += width;
        while (m_count >= 8) {
            Byte(static_cast<BYTE>(m_bits));
            m_bits >>= 8;
            m_count -= 8;
        }
    }
    void Finish()
    {
        if (m_count > 0)
            Byte(static_cast<BYTE>(m_bits));
        if (!m_block.empty())
            Flush();
        m_out.push_back(0);
    }

private:
    void Byte(BYTE value)
    {
        m_block.push_back(value);
        if (m_block.size() == 255)
            Flush();
    }
    void Flush()
    {
        m_out.push_back(static_cast<BYTE>(m_block.size()));
        m_out.insert(m_out.end(), m_block.begin(), m_block.end());
        m_block.clear();
    }

    std::vector<BYTE>& m_out;
    std::vector<BYTE> m_block;
    std::uint32_t m_bits = 0;
    int m_count = 0;
};

}

GifWriter::~GifWriter()
{
    if (m_pFile != nullptr)
        std::fclose(m_pFile);
}

BYTE GifWriter::Quantize(BYTE red, BYTE green, BYTE blue)
{
    if (red == green && green == blue && red % 51 != 0) {
        const int grey = (red + 26) / 51 - 1;
        if (grey >= 0 && grey < 256 - CUBE_SIZE)
            return static_cast<BYTE>(CUBE_SIZE + grey);
    }
    const int index = (Level(red, RED_LEVELS) * GREEN_LEVELS + Level(green, GREEN_LEVELS)) * BLUE_LEVELS +
                      Level(blue, BLUE_LEVELS);
    return static_cast<BYTE>(index);
}

void GifWriter::Put(const void* bytes, std::size_t count)
{
    if (!m_bFailed && std::fwrite(bytes, 1, count, m_pFile) != count)
        m_bFailed = true;
}

void GifWriter::PutWord(int value)
{
    const BYTE bytes[2] = {static_cast<BYTE>(value), static_cast<BYTE>(value >> 8)};
    Put(bytes, 2);
}

bool GifWriter::Open(const std::string& path, int width, int height)
{
    if (width <= 0 || height <= 0 || width > 0xFFFF || height > 0xFFFF)
        return false;
    m_pFile = std::fopen(path.c_str(), "wb");
    if (m_pFile == nullptr)
        return false;
    m_cx = width;
    m_cy = height;
    Put("GIF89a", 6);
    PutWord(width);
    PutWord(height);
    const BYTE screen[3] = {0xF7, 0, 0};
    Put(screen, 3);
    const auto table = ColourTable();
    Put(table.data(), table.size());
    const BYTE loop[] = {0x21, 0xFF, 11, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0', 3, 1, 0, 0, 0};
    Put(loop, sizeof loop);
    return !m_bFailed;
}

void GifWriter::WriteLzw(const std::vector<BYTE>& indices)
{
    std::vector<BYTE> data{MIN_CODE_SIZE};
    CodeStream codes(data);
    const int clear = 1 << MIN_CODE_SIZE;
    const int end = clear + 1;
    std::unordered_map<std::uint32_t, int> dictionary;
    dictionary.reserve(MAX_CODE * 2);
    int next = end + 1;
    int width = MIN_CODE_SIZE + 1;
    codes.Put(clear, width);
    int prefix = indices.empty() ? -1 : indices[0];
    for (std::size_t i = 1; i < indices.size(); ++i) {
        const std::uint32_t key = (static_cast<std::uint32_t>(prefix) << 8) | indices[i];
        const auto found = dictionary.find(key);
        if (found != dictionary.end()) {
            prefix = found->second;
            continue;
        }
        codes.Put(prefix, width);
        if (next <= MAX_CODE) {
            dictionary.emplace(key, next);
            if (next == (1 << width) && width < 12)
                ++width;
            ++next;
        } else {
            codes.Put(clear, width);
            dictionary.clear();
            next = end + 1;
            width = MIN_CODE_SIZE + 1;
        }
        prefix = indices[i];
    }
    if (prefix >= 0)
        codes.Put(prefix, width);
    codes.Put(end, width);
    codes.Finish();
    Put(data.data(), data.size());
}

bool GifWriter::AddFrame(const std::vector<BYTE>& rgb, int delayHundredths)
{
    const std::size_t pixels = static_cast<std::size_t>(m_cx) * static_cast<std::size_t>(m_cy);
    if (m_pFile == nullptr || rgb.size() < pixels * 3)
        return false;
    const BYTE control[] = {0x21, 0xF9, 4, 0x04, static_cast<BYTE>(delayHundredths),
                            static_cast<BYTE>(delayHundredths >> 8), 0, 0};
    Put(control, sizeof control);
    const BYTE descriptor = 0x2C;
    Put(&descriptor, 1);
    PutWord(0);
    PutWord(0);
    PutWord(m_cx);
    PutWord(m_cy);
    const BYTE noLocalTable = 0;
    Put(&noLocalTable, 1);

    std::vector<BYTE> indices(pixels);
    for (std::size_t pixel = 0; pixel < pixels; ++pixel)
        indices[pixel] = Quantize(rgb[pixel * 3], rgb[pixel * 3 + 1], rgb[pixel * 3 + 2]);
    WriteLzw(indices);
    return !m_bFailed;
}

bool GifWriter::Close()
{
    if (m_pFile == nullptr)
        return false;
    const BYTE trailer = 0x3B;
    Put(&trailer, 1);
    const bool closed = std::fclose(m_pFile) == 0;
    m_pFile = nullptr;
    return closed && !m_bFailed;
}
