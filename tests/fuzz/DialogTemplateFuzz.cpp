// Any bytes as a dialog template: reading never goes past the bytes, and
// what is read answers every question the dialog builders ask of it.
#include "platform/dialog/DialogTemplate.h"

#include <cstdint>
#include <cstdlib>

namespace {

void Require(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto dialog = ParseDialogTemplate(data, size);
    if (!dialog)
        return 0;
    Require(ConvertAccessKeys(dialog->strTitle, '_').size() <= 2 * dialog->strTitle.size());
    for (const auto& item : dialog->items) {
        static_cast<void>(item.Kind());
        static_cast<void>(item.Align());
        Require(!item.IsNoPrefix() || item.Kind() == DialogControlKind::Label);
        Require(ConvertAccessKeys(item.strText, '_').size() <= 2 * item.strText.size());
        static_cast<void>(DialogUnitsToPixels(item.x, 7, 4) + DialogUnitsToPixels(item.cy, 15, 8));
    }
    return 0;
}
