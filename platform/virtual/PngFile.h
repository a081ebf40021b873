// PNG files as rows of 8-bit red, green and blue, from the top.
#pragma once

#include "platform/present/PngPicture.h"

#include <string>

// Writes the picture as an 8-bit RGB PNG file; false when the picture is
// inconsistent or the file cannot be written.
bool WritePngFile(const std::string& path, const RgbPicture& picture);
// Reads any PNG as ReadPngMemory does; false also for a file that is not a
// regular one or is larger than MAX_PNG_FILE_BYTES.
bool ReadPngFile(const std::string& path, RgbPicture& picture);
