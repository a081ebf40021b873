#include "platform/virtual/WavFile.h"

#include <array>
#include <cmath>

namespace {

constexpr std::uint32_t HEADER_BYTES = 44;
constexpr std::uint32_t BYTES_PER_FRAME = 4;
// The RIFF sizes are 32-bit: frames past this are not written.
constexpr std::uint64_t MOST_FRAMES = (0xFFFFFFFFull - HEADER_BYTES) / BYTES_PER_FRAME;

// Writes `value` little-endian in `size` bytes at `at`, and moves on.
void PutLe(std::uint8_t*& at, std::uint32_t value, int size)
{
    for (int i = 0; i < size; ++i)
        *at++ = static_cast<std::uint8_t>(value >> (8 * i));
}

void PutTag(std::uint8_t*& at, const char* tag)
{
    for (int i = 0; i < 4; ++i)
        *at++ = static_cast<std::uint8_t>(tag[i]);
}

std::uint16_t ToSample(float value)
{
    const float clipped = std::fmax(-1.0f, std::fmin(1.0f, value));
    return static_cast<std::uint16_t>(static_cast<std::int16_t>(std::lrint(clipped * 32767.0f)));
}

} // namespace

bool WavFile::Create(const std::string& path)
{
    m_pFile = std::fopen(path.c_str(), "wb");
    if (!m_pFile)
        return false;
    WriteHeader();
    return true;
}

void WavFile::Append(const float* left, const float* right, std::size_t frames)
{
    if (!m_pFile)
        return;
    if (frames > MOST_FRAMES - m_frames)
        frames = static_cast<std::size_t>(MOST_FRAMES - m_frames);
    m_bytes.resize(frames * BYTES_PER_FRAME);
    std::uint8_t* at = m_bytes.data();
    for (std::size_t i = 0; i < frames; ++i) {
        PutLe(at, ToSample(left[i]), 2);
        PutLe(at, ToSample(right[i]), 2);
    }
    m_bFailed |= std::fwrite(m_bytes.data(), 1, m_bytes.size(), m_pFile) != m_bytes.size();
    m_frames += frames;
}

bool WavFile::IsFull() const
{
    return !m_pFile || m_frames >= MOST_FRAMES;
}

bool WavFile::Finish()
{
    if (!m_pFile)
        return !m_bFailed;
    m_bFailed |= std::fseek(m_pFile, 0, SEEK_SET) != 0;
    WriteHeader();
    m_bFailed |= std::fclose(m_pFile) != 0;
    m_pFile = nullptr;
    return !m_bFailed;
}

void WavFile::WriteHeader()
{
    const auto dataBytes = static_cast<std::uint32_t>(m_frames * BYTES_PER_FRAME);
    std::array<std::uint8_t, HEADER_BYTES> header;
    std::uint8_t* at = header.data();
    PutTag(at, "RIFF");
    PutLe(at, HEADER_BYTES - 8 + dataBytes, 4);
    PutTag(at, "WAVE");
    PutTag(at, "fmt ");
    PutLe(at, 16, 4);
    PutLe(at, 1, 2); // PCM
    PutLe(at, 2, 2); // stereo
    PutLe(at, m_sampleRate, 4);
    PutLe(at, m_sampleRate * BYTES_PER_FRAME, 4);
    PutLe(at, BYTES_PER_FRAME, 2);
    PutLe(at, 16, 2);
    PutTag(at, "data");
    PutLe(at, dataBytes, 4);
    m_bFailed |= std::fwrite(header.data(), 1, header.size(), m_pFile) != header.size();
}
