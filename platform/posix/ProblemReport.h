// One line on standard error for what the user should know, in the
// program's voice: "Dovezi: " and the sentence, begun in lower case.
#pragma once

#include <string>

void ReportOnStandardError(const std::string& text);
