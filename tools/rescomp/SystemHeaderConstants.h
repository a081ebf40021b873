// The window, dialog and control style constants that a resource script
// takes from the system headers (#include <windows.h>), with their Win32 values.
#pragma once

#include <cstdint>
#include <map>
#include <string>

const std::map<std::string, std::uint32_t>& SystemHeaderConstants();
