// Reads the module's resource script: its #include and #define lines, the
// string table, the file resources (BITMAP, ICON, CURSOR, RCDATA) and the
// dialog templates (DIALOG, compiled to their binary form). Files of a
// numbered type (the application manifest) are for Windows alone: passed over.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

struct ScriptResource {
    std::string type;
    std::uint32_t id = 0;
    std::vector<std::uint8_t> bytes;
};

struct ResourceScript {
    std::map<std::uint32_t, std::string> strings;
    std::vector<ScriptResource> resources;
};

// Throws std::runtime_error with the file and line on anything it cannot read.
ResourceScript ReadResourceScript(const std::filesystem::path& script);
