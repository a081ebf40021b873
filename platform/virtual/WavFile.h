// A 16-bit stereo PCM WAV file written as the samples come; the sizes in its
// header are filled in when it is finished.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

class WavFile {
public:
    explicit WavFile(std::uint32_t sampleRate) : m_sampleRate(sampleRate) {}
    ~WavFile() { Finish(); }

    WavFile(const WavFile&) = delete;
    WavFile& operator=(const WavFile&) = delete;

    // Creates (or truncates) the file; false when it cannot be written.
    bool Create(const std::string& path);
    // Appends frames of left and right samples in -1..1, clipped and
    // rounded to 16 bits.
    void Append(const float* left, const float* right, std::size_t frames);
    // Writes the sizes and closes the file. Later appends are dropped.
    // False when any write to the file failed.
    bool Finish();

    std::uint64_t Frames() const { return m_frames; }
    // True when nothing more can be appended: not created, finished, or at
    // the format's 4 GB limit.
    bool IsFull() const;

private:
    void WriteHeader();

    std::uint32_t m_sampleRate;
    std::FILE* m_pFile = nullptr;
    bool m_bFailed = false;
    std::uint64_t m_frames = 0;
    std::vector<std::uint8_t> m_bytes;
};
