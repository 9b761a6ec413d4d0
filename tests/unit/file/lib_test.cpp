#include <gtest/gtest.h>

#include "scratch.h"
#include "vcore/lib.h"

using vcore::lib;
using namespace filetest;

namespace filetest {

std::u16string testLibrary()
{
    return text(programFolder() / TESTLIB_NAME);
}

} // namespace filetest

namespace {

using answerFn = int (*)();

int call(void* proc)
{
    return reinterpret_cast<answerFn>(proc)();
}

} // namespace

TEST(Lib, LoadsAndFindsAnEntryByName)
{
    lib l;
    ASSERT_TRUE(l.load(testLibrary().c_str()));
    EXPECT_TRUE(l.owned());
    EXPECT_TRUE(l.name() == testLibrary().c_str());
    void* proc = l.getProc(u"file_testlib_answer");
    ASSERT_NE(nullptr, proc);
    EXPECT_EQ(42, call(proc));
    EXPECT_EQ(nullptr, l.getProc(u"no_such_entry"));
}

TEST(Lib, MissingLibraryFailsAndLooksUpNothing)
{
    scratch dir;
    lib l;
    EXPECT_FALSE(l.load(text(dir / "absent.library").c_str()));
    EXPECT_FALSE(l.isLoaded());
    EXPECT_EQ(nullptr, l.getProc(u"file_testlib_answer"));
    EXPECT_EQ(nullptr, l.getProc(5u));
}

TEST(Lib, AttachByAddressAdoptsWithoutOwning)
{
    lib loaded;
    ASSERT_TRUE(loaded.load(testLibrary().c_str()));
    void* proc = loaded.getProc(u"file_testlib_answer");
    ASSERT_NE(nullptr, proc);

    lib adopted;
    ASSERT_TRUE(adopted.attachByAddress(proc));
    EXPECT_FALSE(adopted.owned());
    EXPECT_EQ(loaded.module(), adopted.module());
    EXPECT_EQ(proc, adopted.getProc(u"file_testlib_answer"));
    adopted.unload();
    EXPECT_FALSE(adopted.isLoaded());
    EXPECT_EQ(42, call(loaded.getProc(u"file_testlib_answer"))) << "still loaded by its owner";

    int onTheStack = 0;
    EXPECT_FALSE(adopted.attachByAddress(&onTheStack)) << "no module holds a stack variable";
}

TEST(Lib, UnloadFreesOwnedModulesButNotKeptOnes)
{
    lib owner, probe;
    ASSERT_TRUE(owner.load(testLibrary().c_str()));
    void* proc = owner.getProc(u"file_testlib_answer");
    owner.unload();
    EXPECT_FALSE(owner.isLoaded());
    EXPECT_FALSE(probe.attachByAddress(proc)) << "the module should be gone";

    ASSERT_TRUE(owner.load(testLibrary().c_str(), true));
    EXPECT_FALSE(owner.owned());
    proc = owner.getProc(u"file_testlib_answer");
    owner.unload();
    EXPECT_TRUE(probe.attachByAddress(proc)) << "kept loaded";
}
