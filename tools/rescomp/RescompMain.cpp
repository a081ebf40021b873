// rescomp SCRIPT OUTPUT: writes the resources of SCRIPT as a C++ table of
// embedded bytes for the Linux build.
#include "tools/rescomp/ResourceScript.h"

#include <cstdio>
#include <exception>
#include <fstream>
#include <sstream>

namespace {

std::string CppString(const std::string& text)
{
    std::ostringstream out;
    out << '"';
    for (const unsigned char c : text) {
        if (c == '"' || c == '\\')
            out << '\\' << c;
        else if (c < 0x20 || c >= 0x7F)
            out << "\\" << std::oct << ((c >> 6) & 7) << ((c >> 3) & 7) << (c & 7) << std::dec;
        else
            out << c;
    }
    out << '"';
    return out.str();
}

std::string ResourceTypeName(const std::string& scriptType)
{
    if (scriptType == "BITMAP")
        return "ResourceType::Bitmap";
    if (scriptType == "ICON")
        return "ResourceType::Icon";
    if (scriptType == "CURSOR")
        return "ResourceType::MouseCursor";
    if (scriptType == "DIALOG")
        return "ResourceType::Dialog";
    return "ResourceType::RcData";
}

void WriteTable(const ResourceScript& script, std::ostream& out)
{
    out << "// Generated from the resource script; do not edit.\n"
        << "#include \"platform/resources/EmbeddedResources.h\"\n\nnamespace {\n";
    for (std::size_t r = 0; r < script.resources.size(); ++r) {
        out << "const BYTE resource" << r << "[] = {";
        const auto& bytes = script.resources[r].bytes;
        for (std::size_t b = 0; b < bytes.size(); ++b)
            out << (b % 24 == 0 ? "\n    " : "") << static_cast<unsigned>(bytes[b]) << ',';
        out << (bytes.empty() ? "0" : "") << "};\n";
    }
    out << "const EmbeddedResource resources[] = {\n";
    for (std::size_t r = 0; r < script.resources.size(); ++r) {
        const auto& resource = script.resources[r];
        out << "    {" << ResourceTypeName(resource.type) << ", " << resource.id << ", resource" << r << ", "
            << resource.bytes.size() << "},\n";
    }
    out << "};\nconst EmbeddedString strings[] = {\n";
    for (const auto& [id, text] : script.strings)
        out << "    {" << id << ", " << CppString(text) << "},\n";
    out << "};\n}\n\n"
        << "std::span<const EmbeddedResource> EmbeddedResourceTable() { return resources; }\n"
        << "std::span<const EmbeddedString> EmbeddedStringTable() { return strings; }\n";
}

}

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: rescomp SCRIPT OUTPUT\n");
        return 2;
    }
    try {
        const ResourceScript script = ReadResourceScript(argv[1]);
        std::ostringstream table;
        WriteTable(script, table);
        std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
        out << table.str();
        if (!out)
            throw std::runtime_error(std::string("cannot write ") + argv[2]);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "rescomp: %s\n", error.what());
        return 1;
    }
    return 0;
}
