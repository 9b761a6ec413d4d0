// On Linux the prepared vlcrc keeps what the file system knew of the old one: its access
// rights, and a link stays a link.
#include <gtest/gtest.h>
#include <sys/stat.h>

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
