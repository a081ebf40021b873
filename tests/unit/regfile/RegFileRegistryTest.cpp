#include "platform/regfile/RegDocument.h"
#include "platform/regfile/RegFileIo.h"
#include "platform/regfile/RegFileRegistry.h"
#include "tests/unit/regfile/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include <chrono>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

const RegistryPath SETTINGS{"Software", {"Tevrin", "Dovezi", "Settings"}};
const std::string HEAD = "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Tevrin\\Dovezi\\Settings]\n";
const RegistryValue FIFTY{REGISTRY_TYPE_DWORD, {50, 0, 0, 0}};
constexpr uid_t NOBODY = 65534;

struct stat Status(const fs::path& path)
{
    struct stat status {};
    stat(path.c_str(), &status);
    return status;
}

unsigned Mode(const fs::path& path)
{
    return Status(path).st_mode & 0777;
}

class RegFile : public ::testing::Test {
protected:
    fs::path Folder() const { return m_folder.Path() / "Tevrin"; }
    fs::path File() const { return Folder() / "Dovezi.reg"; }

    std::vector<std::string> FolderEntries() const
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(Folder()))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    // Runs `check` in a child process of an ordinary user, so that file
    // permissions apply even to a test run as root; gives its exit code.
    int AsOrdinaryUser(const std::function<int(RegFileRegistry&)>& check)
    {
        if (geteuid() == 0) {
            lchown(m_folder.Path().c_str(), NOBODY, NOBODY);
            for (const auto& entry : fs::recursive_directory_iterator(m_folder.Path()))
                lchown(entry.path().c_str(), NOBODY, NOBODY);
        }
        const pid_t child = fork();
        if (child == 0) {
            if (geteuid() == 0 && (setgid(NOBODY) != 0 || setuid(NOBODY) != 0))
                _exit(100);
            _exit(check(m_registry));
        }
        int status = -1;
        waitpid(child, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    TemporaryFolder m_folder;
    RegFileRegistry m_registry{m_folder.Path().string()};
};

TEST_F(RegFile, AReadChangesNothingAndTheFirstWriteMakesPrivateFolders)
{
    RegFileRegistry registry{(m_folder.Path() / "config").string()};
    EXPECT_FALSE(registry.Query(SETTINGS, "SPEED"));
    EXPECT_FALSE(fs::exists(m_folder.Path() / "config"));
    EXPECT_TRUE(registry.Store(SETTINGS, "SPEED", FIFTY));
    const fs::path file = m_folder.Path() / "config" / "Tevrin" / "Dovezi.reg";
    EXPECT_EQ(ReadWholeFile(file), HEAD + "\"SPEED\"=dword:00000032\n");
    EXPECT_EQ(Mode(m_folder.Path() / "config"), 0700u);
    EXPECT_EQ(Mode(file.parent_path()), 0700u);
    EXPECT_EQ(registry.TakeNotice(), "");
}

TEST_F(RegFile, WritesKeepThePermissionsAndLeaveNoTemporaryFile)
{
    WriteWholeFile(File(), HEAD + "\"SPEED\"=dword:00000001\n");
    chmod(File().c_str(), 0640);
    EXPECT_TRUE(m_registry.Store(SETTINGS, "SPEED", FIFTY));
    EXPECT_EQ(ReadWholeFile(File()), HEAD + "\"SPEED\"=dword:00000032\n");
    EXPECT_EQ(Mode(File()), 0640u);
    EXPECT_EQ(FolderEntries(), (std::vector<std::string>{"Dovezi.reg", "Dovezi.reg.lock"}));
}

TEST_F(RegFile, PathsThatNameNoFileAreRefused)
{
    for (const RegistryPath& path : std::vector<RegistryPath>{{"Hardware", {"Tevrin", "Dovezi"}},
                                                              {"Software", {"Tevrin"}},
                                                              {"Software", {"Tevrin", ".."}},
                                                              {"Software", {"Tevrin", "a/b"}},
                                                              {"Software", {"Tevrin", "Dovezi", "a\\b"}}}) {
        EXPECT_FALSE(m_registry.Store(path, "SPEED", FIFTY));
        EXPECT_FALSE(m_registry.Query(path, "SPEED"));
    }
    EXPECT_FALSE(m_registry.Store(SETTINGS, "TWO\nLINES", FIFTY));
    EXPECT_FALSE(RegFileRegistry("").Store(SETTINGS, "SPEED", FIFTY));
    EXPECT_FALSE(fs::exists(Folder()));
    // Key and value names compare without case.
    EXPECT_TRUE(m_registry.Store({"SOFTWARE", {"Tevrin", "Dovezi", "SETTINGS"}}, "Speed", FIFTY));
    EXPECT_EQ(m_registry.Query(SETTINGS, "SPEED"), FIFTY);
}

TEST_F(RegFile, AFileThatIsNoRegistryFileIsMovedAsideNotLost)
{
    const std::vector<std::string> unreadable = {
        "just some text\n",
        std::string("\x7f" "ELF\x01\0\0binary", 12),
        std::string("\xFF\xFE" "R\0E\0G", 7),
        "REGEDIT4\n" + std::string(5 * 1024 * 1024, 'x'),
    };
    for (std::size_t i = 0; i < unreadable.size(); ++i) {
        WriteWholeFile(File(), unreadable[i]);
        EXPECT_FALSE(m_registry.Query(SETTINGS, "SPEED"));
        EXPECT_EQ(ReadWholeFile(File()), unreadable[i]);
        EXPECT_TRUE(m_registry.Store(SETTINGS, "SPEED", FIFTY));
        EXPECT_EQ(m_registry.Query(SETTINGS, "SPEED"), FIFTY);
        EXPECT_EQ(ReadWholeFile(File()), HEAD + "\"SPEED\"=dword:00000032\n");
        // Copies made in the same second get numbered names.
        const auto names = FolderEntries();
        ASSERT_EQ(names.size(), i + 3);
        std::size_t kept = 0;
        const std::string notice = m_registry.TakeNotice();
        for (const std::string& name : names)
            if (name.starts_with("Dovezi.reg.damaged-") && ReadWholeFile(Folder() / name) == unreadable[i]) {
                ++kept;
                EXPECT_NE(notice.find((Folder() / name).string() + ","), std::string::npos) << notice;
            }
        EXPECT_EQ(kept, 1u) << i;
    }

    // An empty file holds nothing to keep.
    fs::remove_all(Folder());
    WriteWholeFile(File(), "");
    EXPECT_TRUE(m_registry.Store(SETTINGS, "SPEED", FIFTY));
    EXPECT_EQ(FolderEntries().size(), 2u);
}

TEST_F(RegFile, ALineItCannotReadIsKeptByWrites)
{
    const std::string text = HEAD + "\"SPEED\"=dword:00000009\n\"GAMMA\"=float:1.5\n\"MIDI\"=dword:0000";
    WriteWholeFile(File(), text);
    EXPECT_EQ(m_registry.Query(SETTINGS, "SPEED")->data[0], 9);
    EXPECT_FALSE(m_registry.Query(SETTINGS, "GAMMA"));
    EXPECT_EQ(m_registry.Query(SETTINGS, "MIDI")->data, (std::vector<BYTE>{0, 0, 0, 0}));
    EXPECT_TRUE(m_registry.Store(SETTINGS, "GAMMA", FIFTY));
    EXPECT_EQ(ReadWholeFile(File()), text + "\n\"GAMMA\"=dword:00000032\n");
}

TEST_F(RegFile, WhatIsNoRegularFileIsLeftAlone)
{
    fs::create_directories(File());
    EXPECT_FALSE(m_registry.Query(SETTINGS, "SPEED"));
    EXPECT_FALSE(m_registry.Store(SETTINGS, "SPEED", FIFTY));
    EXPECT_TRUE(fs::is_directory(File()));
    fs::remove(File());
    ASSERT_EQ(mkfifo(File().c_str(), 0600), 0);
    EXPECT_FALSE(m_registry.Query(SETTINGS, "SPEED"));
    EXPECT_FALSE(m_registry.Store(SETTINGS, "SPEED", FIFTY));
    EXPECT_TRUE(fs::is_fifo(File()));
    EXPECT_EQ(FolderEntries().size(), 2u);
}

TEST_F(RegFile, WhatCannotBeWrittenRefusesWritesButServesReads)
{
    ASSERT_TRUE(m_registry.Store(SETTINGS, "SPEED", FIFTY));
    const auto check = [](RegFileRegistry& registry) {
        if (registry.Query(SETTINGS, "SPEED") != FIFTY)
            return 1;
        return registry.Store(SETTINGS, "SPEED", {REGISTRY_TYPE_DWORD, {1, 0, 0, 0}}) ? 2 : 0;
    };
    chmod(File().c_str(), 0400);
    EXPECT_EQ(AsOrdinaryUser(check), 0);
    chmod(File().c_str(), 0600);
    chmod(Folder().c_str(), 0500);
    EXPECT_EQ(AsOrdinaryUser(check), 0);
    chmod(Folder().c_str(), 0700);
    EXPECT_EQ(m_registry.Query(SETTINGS, "SPEED"), FIFTY);
}

TEST_F(RegFile, RegeditsUtf16ExportIsReadAndWrittenBackInItsOwnForm)
{
    auto utf16 = [](const std::string& ascii) {
        std::string bytes = "\xFF\xFE";
        for (const char c : ascii)
            bytes += std::string{c, '\0'};
        return bytes;
    };
    const std::string exported = "Windows Registry Editor Version 5.00\r\n\r\n"
                                 "[HKEY_CURRENT_USER\\Software\\Tevrin\\Dovezi\\Settings]\r\n"
                                 "\"SPEED\"=dword:00000009\r\n"
                                 "\"MIDIFILEPATH\"=\"/home/me/march.mid\"\r\n"
                                 "\"GAMMA\"=hex(2):25,00,00,00\r\n\r\n";
    WriteWholeFile(File(), utf16(exported));
    EXPECT_EQ(m_registry.Query(SETTINGS, "SPEED")->data[0], 9);
    EXPECT_EQ(m_registry.Query(SETTINGS, "MIDIFILEPATH")->data.size(), 19u);
    EXPECT_FALSE(m_registry.Query(SETTINGS, "GAMMA"));
    EXPECT_TRUE(m_registry.Store(SETTINGS, "SPEED", FIFTY));
    std::string changed = exported;
    changed.replace(changed.find("00000009"), 8, "00000032");
    EXPECT_EQ(ReadWholeFile(File()), utf16(changed));

    // One bad character costs nothing else, and any bytes at all come back.
    WriteWholeFile(File(), utf16(exported) + std::string("\x00\xD8", 2) + "!");
    EXPECT_EQ(m_registry.Query(SETTINGS, "SPEED")->data[0], 9);
    const RegistryValue latin1{REGISTRY_TYPE_SZ, {'c', 0xE9, 0xFF, 0}};
    EXPECT_TRUE(m_registry.Store(SETTINGS, "MIDIFILEPATH", latin1));
    EXPECT_EQ(m_registry.Query(SETTINGS, "MIDIFILEPATH"), latin1);
    EXPECT_EQ(m_registry.Query(SETTINGS, "SPEED")->data[0], 9);
}

TEST_F(RegFile, WritesSweepWhatKilledWritersLeftFollowLinksAndReadsTakeNoLock)
{
    WriteWholeFile(Folder() / ".Dovezi.reg~new~Ab12Cd", "half a file");
    WriteWholeFile(Folder() / ".Dovezi.reg.backup", "not ours");
    const fs::path target = m_folder.Path() / "dotfiles" / "dovezi.reg";
    WriteWholeFile(target, HEAD);
    fs::create_symlink(target, File());
    EXPECT_TRUE(m_registry.Store(SETTINGS, "SPEED", FIFTY));
    EXPECT_TRUE(fs::is_symlink(File()));
    EXPECT_EQ(ReadWholeFile(target), HEAD + "\"SPEED\"=dword:00000032\n");
    EXPECT_EQ(FolderEntries(), (std::vector<std::string>{".Dovezi.reg.backup", "Dovezi.reg", "Dovezi.reg.lock"}));

    // Another process holds the lock for as long as it likes: reads go on.
    const int holder = open((Folder() / "Dovezi.reg.lock").c_str(), O_RDWR);
    ASSERT_EQ(flock(holder, LOCK_EX), 0);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(m_registry.Query(SETTINGS, "SPEED"), FIFTY);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2)) << "the read waited for the lock";
    // A write gives up soon, and says why.
    EXPECT_FALSE(m_registry.Store(SETTINGS, "SPEED", FIFTY));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3)) << "the write froze its caller";
    EXPECT_NE(m_registry.TakeNotice().find("another program holds this lock"), std::string::npos);
    close(holder);
}

TEST_F(RegFile, WhatCannotBeStoredIsRefusedAndToldOnceNamingTheFile)
{
    fs::create_directories(Folder() / "Dovezi.reg.lock");
    EXPECT_FALSE(m_registry.Store(SETTINGS, "SPEED", FIFTY));
    const std::string notice = m_registry.TakeNotice();
    EXPECT_NE(notice.find((Folder() / "Dovezi.reg.lock").string() + ": Is a directory"), std::string::npos) << notice;
    EXPECT_FALSE(m_registry.Store(SETTINGS, "GAMMA", FIFTY));
    EXPECT_EQ(m_registry.TakeNotice(), "") << "the same failure again is no news";
    fs::remove(Folder() / "Dovezi.reg.lock");

    // Nothing is stored that could not be read again.
    ASSERT_TRUE(m_registry.Store(SETTINGS, "SPEED", FIFTY));
    const std::string before = ReadWholeFile(File());
    std::vector<BYTE> longText(RegDocument::MAX_LINE_LENGTH, 'x');
    longText.push_back(0);
    EXPECT_FALSE(m_registry.Store(SETTINGS, "MIDIFILEPATH", {REGISTRY_TYPE_SZ, longText}));
    EXPECT_NE(m_registry.TakeNotice().find("\"MIDIFILEPATH\" is too long"), std::string::npos);
    // A file just below the largest kept, then one more long value.
    std::string nearlyFull = before;
    const std::string filler(60000, 'y');
    while (nearlyFull.size() + filler.size() + 20 < MAX_REG_FILE_SIZE)
        nearlyFull += "\"Text" + std::to_string(nearlyFull.size()) + "\"=\"" + filler + "\"\n";
    WriteWholeFile(File(), nearlyFull);
    std::vector<BYTE> text(filler.begin(), filler.end());
    text.push_back(0);
    EXPECT_FALSE(m_registry.Store(SETTINGS, "OneMore", {REGISTRY_TYPE_SZ, text}));
    EXPECT_NE(m_registry.TakeNotice().find("would grow larger"), std::string::npos);
    EXPECT_LE(fs::file_size(File()), MAX_REG_FILE_SIZE);
    EXPECT_EQ(m_registry.Query(SETTINGS, "SPEED"), FIFTY);
    EXPECT_NE(ReadWholeFile(File()).find(before.substr(before.size() - 10)), std::string::npos);

    RegFileRegistry nowhere("");
    EXPECT_FALSE(nowhere.Store(SETTINGS, "SPEED", FIFTY));
    EXPECT_NE(nowhere.TakeNotice().find("neither XDG_CONFIG_HOME nor HOME"), std::string::npos);
}

} // namespace

