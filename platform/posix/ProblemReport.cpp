#include "platform/posix/ProblemReport.h"

#include <cctype>
#include <cstdio>

void ReportOnStandardError(const std::string& text)
{
    if (text.empty())
        return;
    std::string line = text;
    if (line.size() > 1 && std::isupper(static_cast<unsigned char>(line[0])) &&
        std::islower(static_cast<unsigned char>(line[1])))
        line[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(line[0])));
    if (line.back() == '.')
        line.pop_back();
    std::fprintf(stderr, "Dovezi: %s\n", line.c_str());
}
