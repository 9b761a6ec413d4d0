// Loading plug-in libraries from a folder: what is taken, in which order, and what is dropped.
#include <gtest/gtest.h>

#include "hub/host/librarypattern.h"
#include "hub/host/pluginhost.h"
#include "support.h"

using namespace hosttest;

namespace {

std::vector<std::string> instances(PluginHost& host)
{
    std::vector<std::string> out;
    for (int32_t i = 0; i < host.count(); ++i)
        out.push_back(narrow(host.plugin(i).instanceName()));
    return out;
}

std::vector<std::string> classes(const PluginHost& host)
{
    std::vector<std::string> out;
    for (const vcore::str& c : host.classes())
        out.push_back(narrow(c));
    return out;
}

std::string file(const std::string& stem)
{
    return stem + TOLVANU_LIBRARY_SUFFIX;
}

// Four media plug-ins of key 1 and "system" of key 256, listed in this order.
void putOrderExample(const scratch& folder)
{
    folder.addOdd("wmp12", "a_wmp12");
    folder.addOdd("itunes", "b_itunes");
    folder.addOdd("vlc", "c_vlc");
    folder.addOdd("winamp", "d_winamp");
    folder.addOdd("system", "e_system");
}

} // namespace

TEST(Load, EqualKeysStandInReverseLoadingOrderAndHigherKeysAfter)
{
    scratch folder;
    putOrderExample(folder);
    PluginHost host;
    recorder events(host);
    EXPECT_EQ(host.loadFolder(folder.folder()), 5);

    EXPECT_EQ(instances(host), (std::vector<std::string>{"Winamp", "VLC", "iTunes", "WMP12", "system"}));
    EXPECT_EQ(classes(host), (std::vector<std::string>{"media", "system"}));
    EXPECT_STREQ(narrow(vcore::str(host.plugin(4).className())).c_str(), "system");
    EXPECT_EQ(host.plugin(4).orderKey(), 256);
    EXPECT_EQ(events.lines("log"), (std::vector<std::string>{
        "plugin: " + file("a_wmp12") + " (service media) loaded",
        "plugin: " + file("b_itunes") + " (service media) loaded",
        "plugin: " + file("c_vlc") + " (service media) loaded",
        "plugin: " + file("d_winamp") + " (service media) loaded",
        "plugin: " + file("e_system") + " (service system) loaded"}));
    for (int32_t i = 0; i < host.count(); ++i) {
        EXPECT_TRUE(host.plugin(i).enabled());
        EXPECT_FALSE(host.plugin(i).busy());
    }
}

TEST(Load, RefusedAndForeignLibrariesAreDroppedQuietly)
{
    oddTrace trace;
    scratch folder;
    folder.addOdd({"three", "refuse", "none"});
    folder.put(file("junk").c_str(), "this is not a library");
    folder.put("notes.txt", "nor is this");
    {
        PluginHost host;
        recorder events(host);
        EXPECT_EQ(host.loadFolder(folder.folder()), 0);
        EXPECT_EQ(host.count(), 0);
        EXPECT_TRUE(host.classes().empty());
        EXPECT_TRUE(events.lines("log").empty());
    }
    // Without all four entry points init is never called, but close is, once, with empty text;
    // a refused init is followed by close with what init wrote. Both libraries are unloaded.
    EXPECT_EQ(trace.lines(), (std::vector<std::string>{
        "refuse init ", "refuse close refused.Name", "refuse unload ",
        "three close ", "three unload "}));
}

TEST(Load, UnterminatedNameIsCutAtTheEndOfTheBuffer)
{
    scratch folder;
    folder.addOdd({"unterminated"});
    PluginHost host;
    recorder events(host);
    ASSERT_EQ(host.loadFolder(folder.folder()), 1);
    ravPlugin& p = host.plugin(0);
    EXPECT_STREQ(narrow(vcore::str(p.className())).c_str(), "long");
    EXPECT_EQ(narrow(p.instanceName()), std::string(tolvanuNameRoom - 1 - 5, 'x'));
    EXPECT_EQ(p.orderKey(), 3);
    EXPECT_TRUE(events.contains("log", "plugin: " + file("odd_unterminated") + " (service long) loaded"));
}

TEST(Load, ClassesDifferingOnlyInCaseCountOnce)
{
    scratch folder;
    folder.addOdd("vlc", "a_vlc");
    folder.addOdd("upper", "b_upper");
    folder.addOdd("system", "c_system");
    PluginHost host;
    ASSERT_EQ(host.loadFolder(folder.folder()), 3);
    EXPECT_EQ(classes(host), (std::vector<std::string>{"media", "system"}));
    EXPECT_EQ(instances(host), (std::vector<std::string>{"VLC", "Upper", "system"}));
    EXPECT_STREQ(narrow(vcore::str(host.plugin(1).className())).c_str(), "Media");
}

TEST(Load, LoadAllTakesTheProgramsFolderAndKeepsTheVersion)
{
    scratch folder;
    folder.addOdd({"vlc"});
    PluginHost host;
    const vcore::str program = text(folder.path() / "tolvanu");
    recorder events(host);
    EXPECT_EQ(host.loadAll(program, vcore::str(u"1.1.3")), 1);
    EXPECT_EQ(narrow(host.version()), "1.1.3");
    ASSERT_EQ(host.count(), 1);
    EXPECT_EQ(narrow(host.plugin(0).instanceName()), "VLC");
    EXPECT_TRUE(events.contains("log", "plugins: 1 loaded from " + narrow(text(folder.path() / ""))));
}

// Installed as /usr/bin/tolvanu with the plug-ins in /usr/lib/tolvanu/ (Linux only).
TEST(Load, LoadAllLooksInTheInstalledFolderOnlyWhenNoneAreBeside)
{
    scratch root;
    fs::create_directories(root.path() / "bin");
    fs::create_directories(root.path() / "lib" / "tolvanu");
    fs::copy_file(oddLibrary("system"), root.path() / "lib" / "tolvanu" / file("a_system"));
    const vcore::str program = text(root.path() / "bin" / "tolvanu");
    {
        PluginHost host;
        recorder events(host);
        if (!hub::installedPluginFolder) {
            EXPECT_EQ(host.loadAll(program, vcore::str()), 0) << "plug-ins sit beside the program only";
            return;
        }
        EXPECT_EQ(host.loadAll(program, vcore::str()), 1);
        ASSERT_EQ(host.count(), 1);
        EXPECT_EQ(narrow(host.plugin(0).instanceName()), "system");
        const std::string installed = narrow(text(root.path())) + "/lib/tolvanu/";
        EXPECT_TRUE(events.contains("log", "plugins: 1 loaded from " + installed));
    }
    fs::copy_file(oddLibrary("vlc"), root.path() / "bin" / file("b_vlc"));
    PluginHost host;
    recorder events(host);
    EXPECT_EQ(host.loadAll(program, vcore::str()), 1);
    ASSERT_EQ(host.count(), 1);
    EXPECT_EQ(narrow(host.plugin(0).instanceName()), "VLC") << "the ones beside the program win";
    EXPECT_TRUE(events.contains("log", "plugins: 1 loaded from " + narrow(text(root.path() / "bin" / ""))));
}

TEST(Load, ReleaseUnloadsLastFirstWithoutCallingIn)
{
    oddTrace trace;
    scratch folder;
    putOrderExample(folder);
    {
        PluginHost host;
        ASSERT_EQ(host.loadFolder(folder.folder()), 5);
        host.releaseAll();
        EXPECT_EQ(host.count(), 0);
    }
    std::vector<std::string> unloads;
    for (const std::string& line : trace.lines())
        if (line.find(" init") == std::string::npos)
            unloads.push_back(line);
    EXPECT_EQ(unloads, (std::vector<std::string>{"system unload ", "wmp12 unload ", "itunes unload ",
                                                 "vlc unload ", "winamp unload "}));
}
