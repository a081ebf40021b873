#include "platform/posix/PosixFiles.h"
#include "platform/posix/PrivateTempFolder.h"
#include "tests/unit/regfile/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

void MakeFolder(const fs::path& path, fs::perms permissions)
{
    fs::create_directories(path);
    fs::permissions(path, permissions);
}

} // namespace

TEST(PrivateTempFolder, TakesOnlyAFolderOfTheUserThatNobodyElseCanEnter)
{
    TemporaryFolder root;
    const fs::path runtime = root.Path() / "runtime";
    MakeFolder(runtime, fs::perms::owner_all);
    const fs::path shared = root.Path() / "shared";
    const fs::path own = shared / ("dovezi-" + std::to_string(geteuid()));
    MakeFolder(shared, fs::perms::all);
    EXPECT_EQ(PrivateTempFolder(runtime.c_str(), shared.c_str()), runtime.string() + "/");

    // A runtime folder that others may enter, or a relative one: a folder of
    // mode 0700 is made in the shared one.
    fs::permissions(runtime, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec);
    EXPECT_EQ(PrivateTempFolder(runtime.c_str(), shared.c_str()), own.string() + "/");
    EXPECT_EQ(PrivateTempFolder("relative", shared.c_str()), own.string() + "/");
    struct stat status {};
    ASSERT_EQ(stat(own.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0700u);

    // One that was there already and is open to others, or is a link, is
    // not used.
    fs::permissions(own, fs::perms::all);
    EXPECT_EQ(PrivateTempFolder(nullptr, shared.c_str()), "");
    fs::remove(own);
    fs::create_directory_symlink(runtime, own);
    fs::permissions(runtime, fs::perms::owner_all);
    EXPECT_EQ(PrivateTempFolder(nullptr, shared.c_str()), "");
    EXPECT_EQ(PrivateTempFolder(own.c_str(), shared.c_str()), "");
}

TEST(PosixFiles, WritingReplacesTheFileAndALinkWithoutTouchingItsTarget)
{
    TemporaryFolder root;
    PosixFiles files(root.Path().string() + "/");
    const fs::path path = files.TempFileName(files.TempFolder(), "Tvn", 12);
    EXPECT_EQ(path, root.Path() / "Tvnc.tmp");
    EXPECT_EQ(files.TempFileName("/t/", "Tvnx", 0x2AB), "/t/Tvn2ab.tmp");
    const BYTE first[] = {'o', 'n', 'e'};
    const BYTE second[] = {'t', 'w', 'o', '!'};
    ASSERT_TRUE(files.WriteWholeFile(path.string(), first, sizeof first));
    EXPECT_EQ(ReadWholeFile(path), "one");
    ASSERT_TRUE(files.WriteWholeFile(path.string(), second, sizeof second));
    EXPECT_EQ(ReadWholeFile(path), "two!");
    struct stat status {};
    ASSERT_EQ(stat(path.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0600u);

    const fs::path target = root.Path() / "target";
    WriteWholeFile(target, "target");
    fs::remove(path);
    fs::create_symlink(target, path);
    ASSERT_TRUE(files.WriteWholeFile(path.string(), first, sizeof first));
    EXPECT_FALSE(fs::is_symlink(path));
    EXPECT_EQ(ReadWholeFile(path), "one");
    EXPECT_EQ(ReadWholeFile(target), "target");

    EXPECT_FALSE(files.WriteWholeFile((root.Path() / "no" / "such" / "folder").string(), first, sizeof first));
    const fs::path folder = root.Path() / "folder";
    fs::create_directory(folder);
    EXPECT_FALSE(files.WriteWholeFile(folder.string(), first, sizeof first));
    EXPECT_EQ(std::distance(fs::directory_iterator(root.Path()), fs::directory_iterator()), 3);

    EXPECT_TRUE(files.RemoveFile(path.string()));
    EXPECT_FALSE(files.RemoveFile(path.string()));
    EXPECT_TRUE(fs::exists(target));
}
