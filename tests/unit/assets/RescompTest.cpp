// The resource compiler of the Linux build on scripts it must refuse: it
// names the file and line and fails, and never crashes.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/wait.h>

namespace {

struct Outcome {
    int exitCode;
    std::string output;
};

class Rescomp : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_folder = std::filesystem::temp_directory_path() /
                   ("dovezi-rescomp-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                    ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(m_folder);
    }
    void TearDown() override { std::filesystem::remove_all(m_folder); }

    Outcome Compile(const std::string& script)
    {
        std::ofstream(m_folder / "test.rc") << script;
        const std::string command = std::string(DOVEZI_BINARY_DIR) + "/rescomp '" + (m_folder / "test.rc").string() +
                                    "' '" + (m_folder / "out.cpp").string() + "' 2>'" +
                                    (m_folder / "errors.txt").string() + "'";
        const int status = std::system(command.c_str());
        std::ifstream errors(m_folder / "errors.txt");
        std::string output((std::istreambuf_iterator<char>(errors)), std::istreambuf_iterator<char>());
        EXPECT_TRUE(WIFEXITED(status)) << "rescomp did not exit normally on:\n" << script;
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
    }

    std::string Table() const
    {
        std::ifstream in(m_folder / "out.cpp");
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

private:
    std::filesystem::path m_folder;
};

const char* const goodDialog = R"(#include <windows.h>
#define IDD_TEST 7
IDD_TEST DIALOG 0, 0, 100, 50
STYLE WS_CHILD | WS_CAPTION
CAPTION "Test"
FONT 8, "MS Sans Serif"
BEGIN
    LTEXT "a", -1, 1, 2, 3, 4
    CONTROL "", 5, "msctls_trackbar32", TBS_AUTOTICKS, 1, 2, 3, 4
END
)";

TEST_F(Rescomp, CompilesADialogIntoTheTable)
{
    const Outcome outcome = Compile(goodDialog);
    EXPECT_EQ(outcome.exitCode, 0) << outcome.output;
    EXPECT_NE(Table().find("{ResourceType::Dialog, 7, "), std::string::npos);
}

TEST_F(Rescomp, RefusesBrokenScriptsNamingTheLine)
{
    const struct {
        const char* what;
        const char* script;
        const char* line;
    } cases[] = {
        {"unterminated string", "STRINGTABLE\nBEGIN\n 1 \"open\nEND\n", "test.rc:3"},
        {"unknown control", "1 DIALOG 0, 0, 10, 10\nBEGIN\n EDITTEXT 3, 1, 2, 3, 4\nEND\n", "test.rc:3"},
        {"missing comma", "1 DIALOG 0, 0, 10, 10\nBEGIN\n LTEXT \"a\" 3, 1, 2, 3, 4\nEND\n", "test.rc:3"},
        {"unknown name", "1 DIALOG 0, 0, 10, 10\nSTYLE WS_NOTHING\nBEGIN\nEND\n", "test.rc:2"},
        {"text beyond ASCII", "1 DIALOG 0, 0, 10, 10\nCAPTION \"caf\xc3\xa9\"\nBEGIN\nEND\n", "test.rc:"},
        {"number too large", "1 DIALOG 0, 0, 99999999999, 10\nBEGIN\nEND\n", "test.rc:1"},
        {"missing file", "1 BITMAP \"nowhere.bmp\"\n", "nowhere.bmp"},
        {"script including itself", "#include \"test.rc\"\n", "nested too deeply"},
        {"unterminated dialog", "1 DIALOG 0, 0, 10, 10\nBEGIN\n LTEXT \"a\", 1, 2, 3, 4, 5\n", "end of the script"},
    };
    for (const auto& broken : cases) {
        const Outcome outcome = Compile(broken.script);
        EXPECT_EQ(outcome.exitCode, 1) << broken.what;
        EXPECT_NE(outcome.output.find(broken.line), std::string::npos) << broken.what << ": " << outcome.output;
    }
}

}
