// The binary dialog template of a DIALOG resource (DLGTEMPLATE followed by
// its DLGITEMTEMPLATE records), read into plain data, with the style bits
// the dialog builders need made into questions.
#pragma once

#include "platform/DialogHost.h"
#include "platform/Resources.h"
#include "platform/WinApi.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

// The kinds of control the builders know; everything else is Other.
enum class DialogControlKind { PushButton, CheckBox, GroupBox, Label, Icon, DropDownList, Slider, Other };

enum class TextAlign { Left, Center, Right };

// Styles and rectangle, in dialog units, of a dialog or of a control.
struct DialogPlacement {
    DWORD style = 0;
    DWORD exStyle = 0;
    short x = 0;
    short y = 0;
    short cx = 0;
    short cy = 0;
};

struct DialogItemTemplate : DialogPlacement {
    WORD id = 0;
    // The class as a predefined atom (0x0080 button ... 0x0085 combo box),
    // or 0 with the class named in strClass.
    WORD classAtom = 0;
    std::string strClass;
    // The text, or a resource ordinal (an icon's id) when bTextIsOrdinal.
    std::string strText;
    bool bTextIsOrdinal = false;
    WORD textOrdinal = 0;

    DialogControlKind Kind() const;
    TextAlign Align() const;
    bool IsTabStop() const;
    bool IsDisabled() const;
    // A label that shows '&' as it is instead of marking an access key.
    bool IsNoPrefix() const;
    // A slider that draws its tick marks by itself.
    bool HasAutoTicks() const;
};

struct DialogTemplate : DialogPlacement {
    std::string strTitle;
    // Present when the template names its font (DS_SETFONT).
    WORD fontPoints = 0;
    std::string strFontName;
    std::vector<DialogItemTemplate> items;
};

// Reads a template of `size` bytes; nothing when the bytes are not one
// (truncated, unterminated text, or the extended template form).
std::optional<DialogTemplate> ParseDialogTemplate(const BYTE* data, std::size_t size);

// The templates of a sheet's pages, in tab order; nothing when one is
// missing or unreadable or the start page is not one of them.
std::optional<std::vector<DialogTemplate>> LoadSheetTemplates(const Resources& resources,
                                                              const SheetDefinition& sheet);

// Windows' dialog units in pixels: x * baseX / 4 and y * baseY / 8,
// rounded as MulDiv rounds.
int DialogUnitsToPixels(int units, int baseUnit, int unitsPerBase);

// A control text with its access-key marks taken apart: every '&' before a
// character marks that character, "&&" stands for one '&'. `marker` is put
// before the marked character and doubled where the text holds it.
std::string ConvertAccessKeys(const std::string& text, char marker);
