// The texts of --help and --version.
#pragma once

#include <string>

std::string HelpText(const std::string& programName);
std::string VersionText();
