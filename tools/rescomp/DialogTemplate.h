// Compiles a DIALOG statement into the binary dialog template that the
// Windows resource compiler writes (DLGTEMPLATE and DLGITEMTEMPLATE records).
#pragma once

#include "tools/rescomp/ScriptTokens.h"

#include <cstdint>
#include <vector>

// Reads from just after the DIALOG keyword to the end of the control block.
std::vector<std::uint8_t> ReadDialogTemplate(TokenCursor& cursor);
