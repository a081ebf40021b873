// The record mode: the full-screen saver on an in-memory display with a
// virtual clock, writing a PNG frame every virtual second, an animated GIF
// of the first seconds at the tick rate, and the music as the software
// synthesizer renders it (music.wav, 44.1 kHz 16-bit stereo) when the
// settings play music on device 0.
//   --record DIR [--seconds N] [--size WxH] [--depth 8|16|24] [--desktop PICTURE.png]
#pragma once

#include "platform/Registry.h"
#include "platform/WinApi.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

struct RecordOptions {
    std::string folder;
    int seconds = 10;
    std::optional<SIZE> size;
    int depth = 24;
    std::string desktop;
};

constexpr int MAX_RECORD_SECONDS = 24 * 60 * 60;
constexpr int MAX_RECORD_SIDE = 8192;

// Reads the words that follow "--record"; nothing, with `error` set, when
// they are not understood.
std::optional<RecordOptions> ParseRecordOptions(const std::vector<std::string>& words, std::string& error);

// Runs the recording; 0 on success, 1 with a message on standard error.
// When `stopRequested` answers true the recording ends there, its files
// complete. A desktop picture of another size than the screen fills it.
int RunRecordMode(const RecordOptions& options, Registry& registry, const std::string& modulePath,
                  const std::function<bool()>& stopRequested);
