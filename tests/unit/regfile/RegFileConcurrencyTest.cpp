#include "platform/regfile/RegDocument.h"
#include "platform/regfile/RegFileRegistry.h"
#include "tests/unit/regfile/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int WRITES_PER_PROCESS = 150;

RegistryValue Word(int number)
{
    return {REGISTRY_TYPE_DWORD, {static_cast<BYTE>(number), static_cast<BYTE>(number >> 8), 0, 0}};
}

TEST(RegFileConcurrency, TwoProcessesWritingAtOnceKeepEveryWriteInAWholeFile)
{
    const TemporaryFolder folder;
    const RegistryPath settings{"Software", {"Tevrin", "Dovezi", "Settings"}};
    std::vector<pid_t> writers;
    for (const char* prefix : {"A", "B"}) {
        const pid_t child = fork();
        if (child == 0) {
            RegFileRegistry registry{folder.Path().string()};
            bool stored = true;
            for (int i = 0; i < WRITES_PER_PROCESS; ++i)
                stored = registry.Store(settings, prefix + std::to_string(i), Word(i)) && stored;
            _exit(stored ? 0 : 1);
        }
        writers.push_back(child);
    }

    // While they write, every look at the file finds a whole document.
    const auto file = folder.Path() / "Tevrin" / "Dovezi.reg";
    int failures = 0;
    while (!writers.empty()) {
        if (std::filesystem::exists(file)) {
            EXPECT_TRUE(RegDocument::Parse(ReadWholeFile(file)));
        }
        int status = 0;
        if (waitpid(writers.back(), &status, WNOHANG) != 0) {
            failures += !WIFEXITED(status) || WEXITSTATUS(status) != 0;
            writers.pop_back();
        }
    }
    EXPECT_EQ(failures, 0);

    const auto document = RegDocument::Parse(ReadWholeFile(file));
    ASSERT_TRUE(document);
    for (const char* prefix : {"A", "B"}) {
        for (int i = 0; i < WRITES_PER_PROCESS; ++i)
            ASSERT_EQ(document->Find("HKEY_CURRENT_USER\\Software\\Tevrin\\Dovezi\\Settings", prefix + std::to_string(i)),
                      Word(i));
    }
}

} // namespace
