// On Linux the prepared vlcrc keeps what the file system knew of the old one: its access
// rights, and a link stays a link; an earlier backup survives a rewrite that fails half-way.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "plugins/vlc/vlcconfig.h"
#include "plugins/vlc/vlcrcfile.h"
#include "vlcsupport.h"

using namespace vlctest;

namespace {

bool prepared(const fs::path& file)
{
    return vlc::prepareConfig(text(file), vlc::vlcrcOptionsHere(true)).rewritten;
}

} // namespace

TEST(VlcrcKept, PrivateFileStaysPrivate)
{
    scratch folder;
    const fs::path file = folder.path() / "vlcrc";
    writeFile(file, "#rc-host=\n#extraintf=\n");
    ASSERT_EQ(chmod(file.c_str(), 0600), 0);
    ASSERT_TRUE(prepared(file));
    for (const fs::path& p : {file, fs::path(file.string() + ".bak")}) {
        struct stat st {};
        ASSERT_EQ(stat(p.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0600u) << p;
    }
}

TEST(VlcrcKept, ALinkedFileStaysLinked)
{
    scratch folder;
    const fs::path kept = folder.path() / "settings" / "vlcrc";
    const fs::path file = folder.path() / "vlcrc";
    writeFile(kept, "#rc-host=\n#extraintf=\n");
    fs::create_symlink(kept, file);
    ASSERT_TRUE(prepared(file));
    EXPECT_TRUE(fs::is_symlink(file));
    EXPECT_EQ(readFile(kept), "rc-host=localhost:6637\nrc-fake-tty=1\nextraintf=oldrc\n");
}

// The backup used to be written in place: a writer stopped half-way through it (full disk, or
// killed) left a cut-off vlcrc.bak where the earlier backup had been.
TEST(VlcrcKept, ABackupCutOffHalfWayLeavesTheEarlierBackupWhole)
{
    scratch folder;
    const fs::path file = folder.path() / "vlcrc";
    const fs::path backup = folder.path() / "vlcrc.bak";
    const std::string users = "#rc-host=\n#extraintf=\n" + std::string(64 * 1024, '#') + "\n";
    writeFile(file, users);
    writeFile(backup, "the backup of an earlier rewrite\n");

    const pid_t child = fork();
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit small{4096, 4096};
        setrlimit(RLIMIT_FSIZE, &small);
        _exit(vlc::prepareConfig(text(file), vlc::vlcrcOptionsHere(true)).rewriteFailed ? 0 : 1);
    }
    int status = -1;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the rewrite must fail and say so";
    EXPECT_EQ(readFile(file), users);
    EXPECT_EQ(readFile(backup), "the backup of an earlier rewrite\n");
    EXPECT_FALSE(fs::exists(folder.path() / "vlcrc.new"));
}
