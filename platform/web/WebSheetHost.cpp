#include "platform/web/WebSheetHost.h"

#include "platform/web/WebBridge.h"

#include <cctype>
#include <sstream>

bool WebSheetHost::StartProcess(const std::string&, const std::string& commandLine)
{
    // The first word names the program unless the line starts with a blank.
    std::istringstream words(commandLine);
    std::string word;
    if (!commandLine.empty() && commandLine[0] != ' ')
        words >> word;
    word.clear();
    words >> word;
    if (!word.empty() && (word[0] == '-' || word[0] == '/'))
        word.erase(0, 1);
    if (word.empty() || std::tolower(static_cast<unsigned char>(word[0])) != 's')
        return false;
    web_start_saver_soon();
    return true;
}

void WebSheetHost::ShowMessage(const std::string& text) { web_sheet_message(text.c_str()); }
