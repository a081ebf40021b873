// dovezi-assets DIR          writes the strips, the song, the icon and the setup picture into DIR
// dovezi-assets --docs DIR   writes the pictures for the documentation into DIR
// dovezi-assets --web-icons DIR   writes the web page's application icons into DIR
#include "tools/assets/Assets.h"
#include "tools/assets/DocsImages.h"
#include "tools/assets/Icon.h"
#include "tools/assets/PngFile.h"

#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

namespace {

void WriteFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path.string());
}

void WriteDocs(const std::filesystem::path& folder)
{
    WritePpm(ContactSheet(3), folder / "units.ppm");
    const auto frames = ParadeFrames();
    for (std::size_t k = 0; k < frames.size(); ++k) {
        char name[32];
        std::snprintf(name, sizeof name, "parade-%03zu.ppm", k);
        WritePpm(frames[k], folder / name);
    }
}

}

// The sizes a web-app manifest asks for.
void WriteWebIcons(const std::filesystem::path& folder)
{
    for (const int size : {192, 512})
        WriteFile(folder / ("icon-" + std::to_string(size) + ".png"), EncodePngFile(DrawIcon(size), StripPalette()));
}

int main(int argc, char** argv)
{
    try {
        const std::string first = argc > 1 ? argv[1] : "";
        if (argc == 3 && first == "--docs") {
            std::filesystem::create_directories(argv[2]);
            WriteDocs(argv[2]);
        } else if (argc == 3 && first == "--web-icons") {
            std::filesystem::create_directories(argv[2]);
            WriteWebIcons(argv[2]);
        } else if (argc == 2 && !first.starts_with("-")) {
            std::filesystem::create_directories(first);
            for (const auto& file : GenerateAssets())
                WriteFile(std::filesystem::path(first) / file.name, file.bytes);
        } else {
            std::fprintf(stderr, "usage: dovezi-assets DIR | dovezi-assets --docs DIR | dovezi-assets --web-icons DIR\n");
            return 2;
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "dovezi-assets: %s\n", error.what());
        return 1;
    }
    return 0;
}
