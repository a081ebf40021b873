#include "tools/rescomp/SystemHeaderConstants.h"

const std::map<std::string, std::uint32_t>& SystemHeaderConstants()
{
    static const std::map<std::string, std::uint32_t> constants = {
        {"WS_OVERLAPPED", 0x00000000}, {"WS_POPUP", 0x80000000},     {"WS_CHILD", 0x40000000},
        {"WS_MINIMIZE", 0x20000000},   {"WS_VISIBLE", 0x10000000},   {"WS_DISABLED", 0x08000000},
        {"WS_CLIPSIBLINGS", 0x04000000}, {"WS_CLIPCHILDREN", 0x02000000}, {"WS_MAXIMIZE", 0x01000000},
        {"WS_CAPTION", 0x00C00000},    {"WS_BORDER", 0x00800000},    {"WS_DLGFRAME", 0x00400000},
        {"WS_VSCROLL", 0x00200000},    {"WS_HSCROLL", 0x00100000},   {"WS_SYSMENU", 0x00080000},
        {"WS_THICKFRAME", 0x00040000}, {"WS_GROUP", 0x00020000},     {"WS_TABSTOP", 0x00010000},
        {"DS_3DLOOK", 0x0004},         {"DS_SETFONT", 0x0040},       {"DS_MODALFRAME", 0x0080},
        {"DS_CONTROL", 0x0400},        {"DS_CENTER", 0x0800},
        {"SS_LEFT", 0x0000},           {"SS_CENTER", 0x0001},        {"SS_RIGHT", 0x0002},
        {"SS_ICON", 0x0003},           {"SS_NOPREFIX", 0x0080},      {"SS_CENTERIMAGE", 0x0200},
        {"BS_PUSHBUTTON", 0x0000},     {"BS_DEFPUSHBUTTON", 0x0001}, {"BS_CHECKBOX", 0x0002},
        {"BS_AUTOCHECKBOX", 0x0003},   {"BS_GROUPBOX", 0x0007},
        {"CBS_SIMPLE", 0x0001},        {"CBS_DROPDOWN", 0x0002},     {"CBS_DROPDOWNLIST", 0x0003},
        {"CBS_SORT", 0x0100},          {"CBS_HASSTRINGS", 0x0200},
        {"TBS_AUTOTICKS", 0x0001},     {"TBS_VERT", 0x0002},         {"TBS_HORZ", 0x0000},
        {"TBS_TOP", 0x0004},           {"TBS_BOTTOM", 0x0000},       {"TBS_BOTH", 0x0008},
        {"TBS_NOTICKS", 0x0010},
        {"CREATEPROCESS_MANIFEST_RESOURCE_ID", 1}, {"RT_MANIFEST", 24},
    };
    return constants;
}
