// The settings files that stand in for the registry on Linux.
#include "vcore/regstore_posix.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "scratch.h"
#include "vcore/regkey.h"

namespace fs = std::filesystem;
using vcore::regkey;
using vcore::str;

namespace {

std::u16string text(const str& s) { return std::u16string(s.data(), size_t(s.length())); }

std::string contentOf(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
}

void writeFile(const fs::path& file, const std::string& content)
{
    std::ofstream(file, std::ios::binary) << content;
}

// Files in the settings folder whose names contain part.
int filesContaining(const std::string& part)
{
    int count = 0;
    for (const auto& entry : fs::directory_iterator(vcore::regfile::folder()))
        count += entry.path().filename().string().find(part) != std::string::npos;
    return count;
}

// Runs body in a child process and returns its exit status (-1 when it did not exit).
template <class Body>
pid_t spawn(Body body)
{
    const pid_t pid = fork();
    if (pid == 0)
        _exit(body() ? 0 : 1);
    return pid;
}

int statusOf(pid_t pid)
{
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class SettingsFile : public ::testing::Test {
protected:
    fs::path folder() const { return vcore::regfile::folder(); }
    fs::path userFile() const { return folder() / "HKEY_CURRENT_USER.ini"; }

    void writeSample()
    {
        regkey key;
        ASSERT_TRUE(key.open(u"HKEY_CURRENT_USER\\SOFTWARE\\Tessary\\Tolvanu", true));
        ASSERT_TRUE(key.writeDword(u"security", 0xFFFFFFFFu));
    }

    scratchRegistry scratch;
};

TEST_F(SettingsFile, LivesInTheConfigFolderAsReadableText)
{
    EXPECT_EQ(fs::path(getenv("XDG_CONFIG_HOME")) / "tolvanu", folder());
    writeSample();
    const std::string content = contentOf(userFile());
    EXPECT_NE(std::string::npos, content.find("[SOFTWARE\\Tessary\\Tolvanu]\n\"security\"=dword:ffffffff\n"))
        << content;

    const std::string config = getenv("XDG_CONFIG_HOME");
    unsetenv("XDG_CONFIG_HOME");
    const std::string home = getenv("HOME") ? getenv("HOME") : "";
    setenv("HOME", config.c_str(), 1);
    EXPECT_EQ(fs::path(config) / ".config" / "tolvanu", folder());
    setenv("HOME", home.c_str(), 1);
    setenv("XDG_CONFIG_HOME", config.c_str(), 1);
}

TEST_F(SettingsFile, KeepsAwkwardNamesAndDataIntact)
{
    const std::u16string keyName = u"we[ir]d %41 n\u00e4me\x01 \xD800";
    const std::u16string valueName = u"quote\" back\\slash\nnew line=equals \U0001F600";
    regkey key;
    ASSERT_TRUE(key.open(scratch.path(keyName.c_str()), true));
    ASSERT_TRUE(key.writeText(valueName.c_str(), u"tab\there \"quoted\" \xDC00 end"));
    ASSERT_TRUE(key.writeRaw(u"embedded nul", regkey::typeSz, {'a', 0, 0, 0, 'b', 0, 0, 0}));
    ASSERT_TRUE(key.writeRaw(u"odd", regkey::typeSz, {'a', 0, 'b'}));
    ASSERT_TRUE(key.writeRaw(u"empty binary", regkey::typeBinary, {}));
    ASSERT_TRUE(key.writeRaw(u"qword", 11, {1, 2, 3, 4, 5, 6, 7, 8}));

    regkey again;
    ASSERT_TRUE(again.open(scratch.path(keyName.c_str())));
    str value;
    ASSERT_TRUE(again.readText(valueName.c_str(), value));
    EXPECT_EQ(u"tab\there \"quoted\" \xDC00 end", text(value));
    uint32_t type = 0;
    std::vector<uint8_t> data;
    ASSERT_TRUE(again.readRaw(u"embedded nul", type, data));
    EXPECT_EQ(std::vector<uint8_t>({'a', 0, 0, 0, 'b', 0, 0, 0}), data);
    ASSERT_TRUE(again.readRaw(u"odd", type, data));
    EXPECT_EQ(std::vector<uint8_t>({'a', 0, 'b'}), data);
    ASSERT_TRUE(again.readRaw(u"empty binary", type, data));
    EXPECT_EQ(regkey::typeBinary, type);
    EXPECT_TRUE(data.empty());
    ASSERT_TRUE(again.readRaw(u"qword", type, data));
    EXPECT_EQ(11u, type);
    EXPECT_EQ(8u, data.size());
    EXPECT_EQ(0, filesContaining(".corrupt-"));
}

TEST_F(SettingsFile, ReadsAHandEditedFile)
{
    fs::create_directories(folder());
    writeFile(userFile(), "; edited by hand\r\n\r\n[Software\\Example]\r\n\"name\"=\"value\"\r\n"
                          "# another comment\n[]\n@=dword:0000002a\n");
    regkey key;
    ASSERT_TRUE(key.open(u"HKEY_CURRENT_USER"));
    uint32_t number = 0;
    ASSERT_TRUE(key.readDword(u"", number));
    EXPECT_EQ(42u, number);
    ASSERT_TRUE(key.open(u"SOFTWARE\\EXAMPLE"));
    str value;
    ASSERT_TRUE(key.readText(u"name", value));
    EXPECT_EQ(u"value", text(value));
}

TEST_F(SettingsFile, CorruptFileIsSetAsideAndCountsAsEmpty)
{
    writeSample();
    const std::vector<std::string> damages = {"[SOFTWARE\\Tessary\nsecurity=1\n", "\"security\"=dword:1\n",
                                              std::string("\0\xff\xfe", 3), "[A]\n\"v\"=\"\xC3\x28\"\n"};
    for (const std::string& damaged : damages) {
        writeFile(userFile(), damaged);
        const int setAsideBefore = filesContaining(".corrupt-");

        regkey key;
        EXPECT_FALSE(key.open(u"HKEY_CURRENT_USER\\SOFTWARE\\Tessary")) << damaged;
        EXPECT_FALSE(fs::exists(userFile()));
        ASSERT_EQ(setAsideBefore + 1, filesContaining(".corrupt-")) << "each damaged file is kept";

        // The next write starts a fresh file.
        writeSample();
        EXPECT_EQ(0u, contentOf(userFile()).find("; Tolvanu settings"));
    }
    std::multiset<std::string> kept;
    for (const auto& entry : fs::directory_iterator(folder()))
        if (entry.path().filename().string().find(".corrupt-") != std::string::npos)
            kept.insert(contentOf(entry.path()));
    EXPECT_EQ(std::multiset<std::string>(damages.begin(), damages.end()), kept);
}

TEST_F(SettingsFile, UnreadableFileIsSetAsideToo)
{
    fs::create_directories(userFile());
    regkey key;
    uint32_t number = 0;
    ASSERT_TRUE(key.open(u"HKEY_CURRENT_USER"));
    EXPECT_FALSE(key.readDword(u"x", number));
    EXPECT_EQ(1, filesContaining(".corrupt-"));
    writeSample();
    EXPECT_TRUE(fs::is_regular_file(userFile()));
}

TEST_F(SettingsFile, FullDiskLeavesTheOldFileWhole)
{
    writeSample();
    const std::string before = contentOf(userFile());

    const pid_t child = spawn([] {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit small{4096, 4096};
        setrlimit(RLIMIT_FSIZE, &small);
        regkey key;
        const std::u16string big(20000, u'x');
        const bool opened = key.open(u"HKEY_CURRENT_USER\\SOFTWARE\\Tessary\\Tolvanu");
        const bool written = key.writeText(u"big", big.c_str());
        return opened && !written;
    });
    ASSERT_EQ(0, statusOf(child)) << "the write must fail and say so";
    EXPECT_EQ(before, contentOf(userFile()));
    EXPECT_EQ(2, std::distance(fs::directory_iterator(folder()), fs::directory_iterator()))
        << "only the file and its lock, no temporary file left";
}

TEST_F(SettingsFile, KilledWriterNeverLeavesAHalfFile)
{
    writeSample();
    for (int round = 0; round < 6; ++round) {
        const pid_t writer = spawn([] {
            regkey key;
            key.open(u"HKEY_CURRENT_USER\\SOFTWARE\\Tessary\\Tolvanu\\busy", true);
            const std::u16string filler(2000, u'f');
            for (uint32_t i = 0;; ++i)
                key.writeText((u"v" + std::u16string(1, char16_t(u'a' + i % 26))).c_str(), filler.c_str());
            return true;
        });
        usleep(useconds_t(20000 + round * 7000));
        kill(writer, SIGKILL);
        statusOf(writer);

        regkey key;
        uint32_t level = 0;
        ASSERT_TRUE(key.open(u"HKEY_CURRENT_USER\\SOFTWARE\\Tessary\\Tolvanu"));
        EXPECT_TRUE(key.readDword(u"security", level));
        EXPECT_EQ(0, filesContaining(".corrupt-"));
    }
    // A temporary file of a killed writer is cleared by the next write.
    writeSample();
    EXPECT_EQ(2, std::distance(fs::directory_iterator(folder()), fs::directory_iterator()));
}

// Temporaries were known by six characters after "NAME.ini.": a user's NAME.ini.backup matched.
TEST_F(SettingsFile, AWriteClearsOnlyItsOwnTemporaries)
{
    writeSample();
    const fs::path usersCopy = folder() / "HKEY_CURRENT_USER.ini.backup";
    writeFile(usersCopy, contentOf(userFile()));
    writeFile(folder() / "HKEY_CURRENT_USER.ini.tmp-Ab12Cd", "left by a killed writer");
    writeSample();
    EXPECT_TRUE(fs::exists(usersCopy));
    EXPECT_FALSE(fs::exists(folder() / "HKEY_CURRENT_USER.ini.tmp-Ab12Cd"));
}

TEST_F(SettingsFile, ConcurrentWritersKeepEachOthersKeys)
{
    constexpr int writers = 4;
    constexpr int keysEach = 20;
    std::vector<pid_t> children;
    for (int w = 0; w < writers; ++w)
        children.push_back(spawn([w] {
            bool ok = true;
            for (int k = 0; k < keysEach; ++k) {
                regkey key;
                const std::u16string name = u"w" + std::u16string(1, char16_t(u'0' + w)) + u"k" +
                                            std::u16string(1, char16_t(u'a' + k));
                ok = key.open((u"HKEY_CURRENT_USER\\Race\\" + name).c_str(), true) && key.writeDword(u"n", k) && ok;
            }
            return ok;
        }));
    for (pid_t child : children)
        EXPECT_EQ(0, statusOf(child));

    regkey key;
    ASSERT_TRUE(key.open(u"HKEY_CURRENT_USER\\Race"));
    int found = 0;
    for (int w = 0; w < writers; ++w)
        for (int k = 0; k < keysEach; ++k) {
            const std::u16string name = u"w" + std::u16string(1, char16_t(u'0' + w)) + u"k" +
                                        std::u16string(1, char16_t(u'a' + k));
            regkey level;
            uint32_t n = 0;
            found += level.open((u"HKEY_CURRENT_USER\\Race\\" + name).c_str()) && level.readDword(u"n", n) &&
                     n == uint32_t(k);
        }
    EXPECT_EQ(writers * keysEach, found);
}

} // namespace
