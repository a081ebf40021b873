#pragma once

#include <string>

// The full path of the running executable, as it was when first asked: an
// upgrade that replaces the file there later (the kernel then names the old
// one "... (deleted)") still finds the program at that path. The program
// asks first thing.
std::string ReadModulePath();
