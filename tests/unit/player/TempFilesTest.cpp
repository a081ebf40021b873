#include "platform/posix/PosixFiles.h"
#include "platform/posix/PrivateTempFolder.h"
#include "tests/unit/settings/TemporaryFolder.h"

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

TEST(PrivateTempFolder, TakesTheRuntimeFolderOnlyWhenNobodyElseCanEnterIt)
{
    TemporaryFolder root;
    const fs::path runtime = root.Path() / "runtime";
    MakeFolder(runtime, fs::perms::owner_all);
    const fs::path shared = root.Path() / "shared";
    MakeFolder(shared, fs::perms::all);
    const std::string own = (shared / ("dovezi-" + std::to_string(geteuid()))).string() + "/";

    EXPECT_EQ(PrivateTempFolder(runtime.c_str(), shared.c_str()), runtime.string() + "/");

    fs::permissions(runtime, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec);
    EXPECT_EQ(PrivateTempFolder(runtime.c_str(), shared.c_str()), own);
    struct stat status {};
    ASSERT_EQ(stat(own.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0700u);

    const fs::path link = root.Path() / "link";
    fs::create_directory_symlink(shared / ("dovezi-" + std::to_string(geteuid())), link);
    EXPECT_EQ(PrivateTempFolder(link.c_str(), shared.c_str()), own);
    EXPECT_EQ(PrivateTempFolder("relative", shared.c_str()), own);
    EXPECT_EQ(PrivateTempFolder(nullptr, shared.c_str()), own);
}

TEST(PrivateTempFolder, RefusesAFolderThatOthersCanEnterOrThatIsALink)
{
    TemporaryFolder root;
    const fs::path shared = root.Path() / "shared";
    const fs::path own = shared / ("dovezi-" + std::to_string(geteuid()));
    MakeFolder(own, fs::perms::all);
    EXPECT_EQ(PrivateTempFolder(nullptr, shared.c_str()), "");

    fs::remove(own);
    const fs::path elsewhere = root.Path() / "elsewhere";
    MakeFolder(elsewhere, fs::perms::owner_all);
    fs::create_directory_symlink(elsewhere, own);
    EXPECT_EQ(PrivateTempFolder(nullptr, shared.c_str()), "");
    EXPECT_FALSE(IsPrivateFolder(own.string()));
    EXPECT_TRUE(IsPrivateFolder(elsewhere.string()));
}

TEST(PosixFiles, NamesTheTemporaryFileFromThePrefixAndTheNumberInHexadecimal)
{
    PosixFiles files("/run/user/1000/");
    EXPECT_EQ(files.TempFolder(), "/run/user/1000/");
    EXPECT_EQ(files.TempFileName(files.TempFolder(), "Tvn", 12), "/run/user/1000/Tvnc.tmp");
    EXPECT_EQ(files.TempFileName("/t/", "Tvnx", 0x2AB), "/t/Tvn2ab.tmp");
}

TEST(PosixFiles, WritingReplacesTheFileAndALinkWithoutTouchingItsTarget)
{
    TemporaryFolder root;
    PosixFiles files;
    const fs::path path = root.Path() / "Tvnc.tmp";
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
