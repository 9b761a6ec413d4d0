#include <gtest/gtest.h>

#include <windows.h>
#include <objidl.h>

#include "vcore/buf.h"

namespace {

// Counts its own destruction, to see when the last COM reference lets go.
struct countedBuf : vcore::buf {
    bool* gone;
    explicit countedBuf(bool* flag) : gone(flag) {}
    ~countedBuf() override { *gone = true; }
};

} // namespace

TEST(ComStream, ReadWriteAndSeekGoThroughTheStream)
{
    vcore::buf b;
    IStream* s = b.comStream();
    ASSERT_NE(nullptr, s);
    ULONG moved = 0;
    EXPECT_EQ(S_OK, s->Write("hello", 5, &moved));
    EXPECT_EQ(5u, moved);

    LARGE_INTEGER move;
    ULARGE_INTEGER reached;
    move.QuadPart = -3;
    ASSERT_EQ(S_OK, s->Seek(move, STREAM_SEEK_END, &reached));
    EXPECT_EQ(2u, reached.QuadPart);
    char out[8] = {};
    EXPECT_EQ(S_OK, s->Read(out, sizeof out, &moved));
    EXPECT_EQ(3u, moved);
    EXPECT_STREQ("llo", out);

    move.QuadPart = -1;
    EXPECT_EQ(S_OK, s->Seek(move, STREAM_SEEK_CUR, &reached));
    EXPECT_EQ(4u, reached.QuadPart);
    move.QuadPart = -10;
    EXPECT_EQ(STG_E_INVALIDFUNCTION, s->Seek(move, STREAM_SEEK_SET, nullptr));
    EXPECT_EQ(STG_E_INVALIDFUNCTION, s->Seek(move, 7, nullptr));

    b.close();
    EXPECT_EQ(S_FALSE, s->Read(out, 1, &moved));
    EXPECT_EQ(0u, moved);
    EXPECT_EQ(E_NOTIMPL, s->Commit(0));
    s->Release();
}

TEST(ComStream, StatGivesAFreeableNameAndTheSize)
{
    vcore::buf b;
    b.open(u"memory:test");
    ULONG moved = 0;
    IStream* s = b.comStream();
    s->Write("abcd", 4, &moved);
    STATSTG stat{};
    ASSERT_EQ(S_OK, s->Stat(&stat, STATFLAG_DEFAULT));
    EXPECT_STREQ(L"memory:test", stat.pwcsName);
    EXPECT_NE(static_cast<const void*>(b.name().data()), stat.pwcsName);
    EXPECT_EQ(DWORD(STGTY_STREAM), stat.type);
    EXPECT_EQ(4u, stat.cbSize.QuadPart);
    EXPECT_NE(0u, stat.mtime.dwHighDateTime);
    CoTaskMemFree(stat.pwcsName);

    ASSERT_EQ(S_OK, s->Stat(&stat, STATFLAG_NONAME));
    EXPECT_EQ(nullptr, stat.pwcsName);
    s->Release();
}

TEST(ComStream, LastReleaseDestroysTheStream)
{
    bool gone = false;
    auto* b = new countedBuf(&gone);
    IStream* s = b->comStream();
    ISequentialStream* seq = nullptr;
    ASSERT_EQ(S_OK, s->QueryInterface(IID_ISequentialStream, reinterpret_cast<void**>(&seq)));
    IUnknown* unknown = nullptr;
    ASSERT_EQ(S_OK, s->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown)));
    void* other = nullptr;
    EXPECT_EQ(E_NOINTERFACE, s->QueryInterface(IID_IStorage, &other));
    EXPECT_EQ(nullptr, other);

    b->release();  // the creator's own reference
    seq->Release();
    unknown->Release();
    EXPECT_FALSE(gone);
    EXPECT_EQ(0u, s->Release());
    EXPECT_TRUE(gone);
}
