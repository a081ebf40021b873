#include "platform/sheet/SheetModuleHost.h"

#include "platform/posix/DetachedProcess.h"
#include "platform/posix/EndSignals.h"
#include "platform/posix/ModulePath.h"
#include "platform/posix/ProblemReport.h"

#include <dlfcn.h>

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

std::vector<std::string> SheetModuleCandidates(const std::string& programPath)
{
    const std::size_t slash = programPath.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string(".") : programPath.substr(0, slash);
    std::vector<std::string> candidates;
    for (const char* relative : {".", DOVEZI_SHEET_FROM_BIN, DOVEZI_SHEET_FROM_HACKS})
        candidates.push_back(folder + "/" + relative + "/" + SHEET_MODULE_FILE);
    return candidates;
}

SheetModuleHost::SheetModuleHost(Resources& resources)
{
    m_context.pResources = &resources;
    m_context.takeEndSignal = TakeEndSignal;
}

SheetModuleHost::~SheetModuleHost() = default;

SheetShower* SheetModuleHost::Shower()
{
    if (m_bLoadTried)
        return m_pShower.get();
    m_bLoadTried = true;
    std::string failure;
    for (const std::string& candidate : SheetModuleCandidates(ReadModulePath())) {
        // The toolkit cannot be unloaded; the module stays for the run.
        void* module = dlopen(candidate.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
        if (module == nullptr) {
            if (failure.empty())
                failure = dlerror();
            continue;
        }
        const auto entry = reinterpret_cast<SheetModuleEntry>(dlsym(module, SHEET_MODULE_ENTRY));
        if (entry != nullptr) {
            m_context.endSignalDescriptor = EndSignalDescriptor();
            m_pShower.reset(entry(m_context));
            return m_pShower.get();
        }
        failure = candidate + " is no settings sheet";
    }
    ReportOnStandardError("the settings sheet cannot open: " + failure);
    return nullptr;
}

SheetResult SheetModuleHost::RunSheet(const SheetDefinition& sheet, SheetHandler& handler)
{
    SheetShower* shower = Shower();
    return shower != nullptr ? shower->RunSheet(sheet, handler) : SheetResult::Failed;
}

void SheetModuleHost::ShowMessage(const std::string& text)
{
    if (m_pShower == nullptr || !m_pShower->ShowMessage(text))
        ReportOnStandardError(text);
}

bool SheetModuleHost::StartProcess(const std::string& program, const std::string& commandLine)
{
    std::vector<std::string> arguments = SplitWords(commandLine);
    arguments[0] = program;
    return StartDetachedProcess(program, arguments);
}
