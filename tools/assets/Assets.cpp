#include "tools/assets/Assets.h"

#include "tools/assets/BitmapFile.h"
#include "tools/assets/Icon.h"
#include "tools/assets/SetupPicture.h"
#include "tools/assets/Song.h"
#include "tools/assets/UnitArt.h"

std::vector<GeneratedFile> GenerateAssets()
{
    std::vector<GeneratedFile> files;
    for (const auto& unit : UnitArtTable())
        files.push_back({unit.fileName, EncodeBitmapFile(StackFrames(DrawFrames(unit)), StripPalette())});
    files.push_back({"song.mid", EncodeMidiFile(DoveziMarch())});
    files.push_back({"Dovezi.ico", EncodeIconFile({DrawIcon(32), DrawIcon(16)}, StripPalette())});
    files.push_back({"setup.bmp", EncodeBitmapFile(DrawSetupPicture(), StripPalette())});
    return files;
}
