// Any settings file: decoding gives back the same bytes when encoded again,
// parsing never fails badly, writing a document back keeps every byte it
// read, and a value set in it reads back the same after another round
// through the text.
#include "platform/regfile/RegDocument.h"
#include "platform/regfile/RegFileEncoding.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

const std::string SECTION = "HKEY_CURRENT_USER\\Software\\Tevrin\\Dovezi\\Settings";

void Require(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const DecodedRegFile decoded = DecodeRegFile(bytes);
    // What was read is written back so that it reads the same, and any
    // bytes at all, UTF-8 or not, come back from a UTF-16 file.
    Require(DecodeRegFile(EncodeRegFile(decoded.text, decoded.encoding)).text == decoded.text);
    Require(DecodeRegFile(EncodeRegFile(bytes, RegFileEncoding::Utf16Le)).text == bytes);
    const std::string_view text = decoded.text;
    auto document = RegDocument::Parse(text);
    if (!document)
        return 0;
    Require(document->Text().substr(0, text.size()) == text);
    document->Find(SECTION, "SPEED");

    // The input's own bytes as a text value: every byte must come back.
    RegistryValue value{REGISTRY_TYPE_SZ, std::vector<BYTE>(data, data + std::min<std::size_t>(size, 300))};
    value.data.push_back(0);
    document->Set(SECTION, "SPEED", {REGISTRY_TYPE_DWORD, {1, 2, 3, 4}});
    document->Set(SECTION, "Fuzz", value);
    const auto again = RegDocument::Parse(document->Text());
    Require(again.has_value());
    Require(again->Find(SECTION, "Fuzz") == value);
    Require(again->Find(SECTION, "SPEED") == (RegistryValue{REGISTRY_TYPE_DWORD, {1, 2, 3, 4}}));
    return 0;
}
