// Starting a program that lives on its own: in a session of its own, not a
// child of the caller (no zombie is left behind, nothing to wait for), and
// independent of the caller's end.
#pragma once

#include <string>
#include <vector>

// Runs `program` with `arguments` (argv[0] first). True once the program
// has been executed; false when it could not be started.
bool StartDetachedProcess(const std::string& program, const std::vector<std::string>& arguments);
