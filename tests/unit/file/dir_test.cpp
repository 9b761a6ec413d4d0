#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "scratch.h"
#include "vcore/file.h"
#include "vwin/dir.h"

using vwin::dir;
using vwin::filelist;
using namespace filetest;
using namespace std::chrono_literals;

namespace {

std::vector<std::u16string> names(const filelist& list)
{
    std::vector<std::u16string> out;
    for (int32_t i = 0; i < list.count(); ++i)
        out.emplace_back(list.item(i).name.data(), size_t(list.item(i).name.length()));
    return out;
}

std::vector<std::u16string> sortedNames(const filelist& list)
{
    auto out = names(list);
    std::sort(out.begin(), out.end());
    return out;
}

std::u16string native(const fs::path& p)
{
    return p.u16string();
}

// A folder with a mix of entries to list.
struct sample {
    scratch root;
    sample()
    {
        root.put("a.dll", "x");
        root.put("b.exe", "x");
        root.put("c.txt", "x");
        root.put("README", "x");
        fs::create_directory(root / "plugins.dll");
        fs::create_directory(root / "sub");
        root.put("sub/inner.dll", "x");
        root.put("sub/inner.txt", "x");
    }
};

// Counts "notify" events, which arrive on the watcher's thread.
class notifications {
public:
    void onNotify()
    {
        std::lock_guard<std::mutex> hold(mutex_);
        ++count_;
        arrived_.notify_all();
    }
    bool waitFor(int n, std::chrono::milliseconds limit = 10s)
    {
        std::unique_lock<std::mutex> hold(mutex_);
        return arrived_.wait_for(hold, limit, [&] { return count_ >= n; });
    }
    int count()
    {
        std::lock_guard<std::mutex> hold(mutex_);
        return count_;
    }

private:
    std::mutex mutex_;
    std::condition_variable arrived_;
    int count_ = 0;
};

} // namespace

TEST(DirList, TwoPatternsListEntriesMatchingEither)
{
    sample s;
    dir d(text(s.root.path()).c_str());
    d.setPatterns(u"*.dll;*.exe");
    EXPECT_EQ(3, d.list());
    EXPECT_EQ((std::vector<std::u16string>{u"a.dll", u"b.exe", u"plugins.dll"}), sortedNames(d));
    for (int32_t i = 0; i < d.count(); ++i)
        EXPECT_EQ(native(s.root.path() / fs::path(names(d)[size_t(i)])), d.fullPath(i).data());
}

TEST(DirList, DefaultPatternListsEverythingButDotEntries)
{
    sample s;
    dir d(text(s.root.path()).c_str());
    d.list();
    EXPECT_EQ((std::vector<std::u16string>{u"README", u"a.dll", u"b.exe", u"c.txt", u"plugins.dll", u"sub"}),
              sortedNames(d));
    EXPECT_TRUE(d.item(d.count()).name.empty()) << "out of range gives an empty item";
}

TEST(DirList, SelectionPicksFilesOrFolders)
{
    sample s;
    dir d(text(s.root.path()).c_str());
    d.setPatterns(u"*.dll");
    d.setSelection(filelist::listFiles);
    d.list();
    EXPECT_EQ((std::vector<std::u16string>{u"a.dll"}), names(d));
    EXPECT_FALSE(d.item(0).attributes & filelist::attrFolder);

    d.setSelection(filelist::listFolders);
    d.list();
    EXPECT_EQ((std::vector<std::u16string>{u"plugins.dll"}), names(d));
    EXPECT_TRUE(d.item(0).attributes & filelist::attrFolder);
}

TEST(DirList, HiddenAndReadOnlyEntriesFollowTheirFlags)
{
    scratch root;
    root.put("shown.txt", "x");
    hide(root.put(".hidden.txt", "x"));
    makeReadOnly(root.put("locked.txt", "x"));
    dir d(text(root.path()).c_str());
    d.setSelection(filelist::listFiles);
    d.list();
    EXPECT_EQ((std::vector<std::u16string>{u"locked.txt", u"shown.txt"}), sortedNames(d));

    d.setSelection(filelist::listFiles | filelist::listHidden | filelist::skipReadOnly);
    d.list();
    EXPECT_EQ((std::vector<std::u16string>{u".hidden.txt", u"shown.txt"}), sortedNames(d));
}

TEST(DirList, RecursionDescendsIntoMatchingOrEverySubfolder)
{
    sample s;
    dir d(text(s.root.path()).c_str());
    d.setSelection(filelist::listFiles | filelist::listFolders | filelist::recurse);
    d.setPatterns(u"*.txt;sub");
    d.list();
    std::u16string inner = native(fs::path("sub") / "inner.txt");
    EXPECT_EQ((std::vector<std::u16string>{u"c.txt", u"sub", inner}), sortedNames(d));

    d.setPatterns(u"*.dll");
    d.list();
    EXPECT_EQ((std::vector<std::u16string>{u"a.dll", u"plugins.dll"}), sortedNames(d))
        << "sub does not match *.dll, so it is not entered";

    d.setSelection(filelist::listFiles | filelist::listFolders | filelist::recurse | filelist::everySubfolder);
    d.list();
    EXPECT_EQ((std::vector<std::u16string>{u"a.dll", native(fs::path("sub") / "inner.dll")}), sortedNames(d))
        << "every subfolder is entered, and folders themselves are left out";
}

TEST(DirList, OrderingSortsByNameAndBackwards)
{
    scratch root;
    for (const char* name : {"b.txt", "C.txt", "a.txt"})
        root.put(name, "x");
    dir d(text(root.path()).c_str());
    d.setOrdering(filelist::orderByName);
    d.list();
    EXPECT_EQ((std::vector<std::u16string>{u"a.txt", u"b.txt", u"C.txt"}), names(d));
    d.setOrdering(filelist::orderByName | filelist::orderReverse);
    d.list();
    EXPECT_EQ((std::vector<std::u16string>{u"C.txt", u"b.txt", u"a.txt"}), names(d));
}

TEST(DirList, MissingFolderListsNothing)
{
    scratch root;
    dir d(text(root / "absent").c_str());
    EXPECT_EQ(0, d.list());
}

TEST(DirWatch, NewFileRaisesNotify)
{
    scratch root;
    notifications seen;
    dir d(text(root.path()).c_str());
    d.addHandler(u"notify", &seen, &notifications::onNotify);
    ASSERT_TRUE(d.watch());
    EXPECT_TRUE(d.watching());
    root.put("arrived.txt", "x");
    EXPECT_TRUE(seen.waitFor(1));
}

TEST(DirWatch, SubfoldersAreWatchedWhenAsked)
{
    if (!subfolderChangesReported())
        GTEST_SKIP() << "this system does not report changes below the folder";
    scratch root;
    fs::create_directory(root / "sub");
    notifications seen;
    dir d(text(root.path()).c_str());
    d.addHandler(u"notify", &seen, &notifications::onNotify);

    ASSERT_TRUE(d.watch(0, true));
    root.put("sub/deep.txt", "x");
    EXPECT_TRUE(seen.waitFor(1));

    fs::create_directory(root / "later");
    ASSERT_TRUE(seen.waitFor(2));
    int before = seen.count();
    root.put("later/deeper.txt", "x");
    EXPECT_TRUE(seen.waitFor(before + 1)) << "a folder made after the watch began is watched too";
}

TEST(DirWatch, FolderNameFilterIgnoresNewFiles)
{
    scratch root;
    notifications seen;
    dir d(text(root.path()).c_str());
    d.addHandler(u"notify", &seen, &notifications::onNotify);
    ASSERT_TRUE(d.watch(dir::changeFolderNames));
    root.put("file.txt", "x");
    std::this_thread::sleep_for(200ms);
    EXPECT_EQ(0, seen.count());
    fs::create_directory(root / "folder");
    EXPECT_TRUE(seen.waitFor(1));
}

TEST(DirWatch, StoppedOrReplacedWatchesAreQuiet)
{
    scratch root;
    fs::create_directory(root / "other");
    notifications seen;
    dir d(text(root.path()).c_str());
    d.addHandler(u"notify", &seen, &notifications::onNotify);
    ASSERT_TRUE(d.watch());
    d.stopWatch();
    EXPECT_FALSE(d.watching());
    root.put("ignored.txt", "x");
    std::this_thread::sleep_for(200ms);
    EXPECT_EQ(0, seen.count());

    d.setPath(text(root / "other").c_str());
    ASSERT_TRUE(d.watch());
    root.put("also-ignored.txt", "x");
    std::this_thread::sleep_for(200ms);
    EXPECT_EQ(0, seen.count()) << "the old folder is no longer watched";
    root.put("other/seen.txt", "x");
    EXPECT_TRUE(seen.waitFor(1));
}

TEST(DirWatch, DestroyedWhileWaiting)
{
    scratch root;
    for (int i = 0; i < 20; ++i) {
        dir d(text(root.path()).c_str());
        ASSERT_TRUE(d.watch());
    }
}

TEST(DirWatch, MissingFolderCannotBeWatched)
{
    scratch root;
    dir d(text(root / "absent").c_str());
    EXPECT_FALSE(d.watch());
    EXPECT_FALSE(d.watching());
}

TEST(DirList, NamesBeyondAsciiSurviveTheRoundTrip)
{
    scratch root;
    const std::u16string name = u"caf\u00e9-\U0001F3B5.txt";
    {
        vcore::file f(text(root.path() / fs::path(name)).c_str());
        ASSERT_TRUE(f.open());
    }
    dir d(text(root.path()).c_str());
    ASSERT_EQ(1, d.list());
    EXPECT_EQ(name, names(d)[0]);
    EXPECT_TRUE(fs::exists(root.path() / fs::path(name)));
}
