// Everything the generator writes into res/: the seven sprite strips, the
// song, the icon and the setup's picture, as file names and bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct GeneratedFile {
    std::string name;
    std::vector<std::uint8_t> bytes;
};

std::vector<GeneratedFile> GenerateAssets();
