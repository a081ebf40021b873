#include "platform/gtk/GtkDialogHost.h"

#include "platform/dialog/DialogTemplate.h"
#include "platform/gtk/GtkSheetWindow.h"
#include "platform/posix/DetachedProcess.h"
#include "platform/posix/ProblemReport.h"

#include <gtk/gtk.h>

#include <vector>

namespace {

// The program-name word (up to the first blank, possibly empty) and then
// every run of non-blank characters.
std::vector<std::string> SplitWords(const std::string& text)
{
    constexpr const char* BLANKS = " \t";
    std::size_t end = text.find_first_of(BLANKS);
    std::vector<std::string> words{text.substr(0, end)};
    while (end != std::string::npos) {
        const std::size_t start = text.find_first_not_of(BLANKS, end);
        if (start == std::string::npos)
            break;
        end = text.find_first_of(BLANKS, start);
        words.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
    }
    return words;
}

}

SheetResult GtkDialogHost::RunSheet(const SheetDefinition& sheet, SheetHandler& handler)
{
    if (!gtk_init_check(nullptr, nullptr))
        return SheetResult::Failed;
    auto templates = LoadSheetTemplates(m_resources, sheet);
    if (!templates)
        return SheetResult::Failed;
    GtkSheetWindow window(sheet, std::move(*templates), handler, m_resources);
    m_pOpenSheet = &window;
    const SheetResult result = window.Run();
    m_pOpenSheet = nullptr;
    return result;
}

void GtkDialogHost::ShowMessage(const std::string& text)
{
    if (m_pOpenSheet != nullptr)
        m_pOpenSheet->ShowMessage(text);
    else
        ReportOnStandardError(text);
}

bool GtkDialogHost::StartProcess(const std::string& program, const std::string& commandLine)
{
    std::vector<std::string> arguments = SplitWords(commandLine);
    arguments[0] = program;
    return StartDetachedProcess(program, arguments);
}
