// The growable pointer list.
#include <gtest/gtest.h>

#include "vcore/alist.h"

namespace {

struct counted {
    explicit counted(int& deaths) : deaths(deaths) {}
    ~counted() { ++deaths; }
    int& deaths;
};

TEST(AList, GrowsFromSixteenByDoubling)
{
    vcore::alist<int> list;
    EXPECT_EQ(list.capacity(), 0);
    EXPECT_FALSE(list.grow(0));
    int values[40] = {};
    for (int& v : values)
        EXPECT_TRUE(list.append(&v));
    EXPECT_EQ(list.count(), 40);
    EXPECT_EQ(list.capacity(), 64);
    EXPECT_EQ(list.at(39), &values[39]);

    vcore::alist<int> sized(256);
    EXPECT_EQ(sized.capacity(), 256);
    EXPECT_TRUE(sized.grow(200));
    EXPECT_EQ(sized.capacity(), 256);
    EXPECT_TRUE(sized.grow(257));
    EXPECT_EQ(sized.capacity(), 512);
}

TEST(AList, LookupsOutOfRangeGiveNull)
{
    vcore::alist<int> list(4);
    int a = 1;
    list.append(&a);
    EXPECT_EQ(list[0], &a);
    EXPECT_EQ(list[1], nullptr);
    EXPECT_EQ(list[-1], nullptr);
    EXPECT_EQ(list.take(3), nullptr);
    EXPECT_FALSE(list.removeAt(1));
}

TEST(AList, OwningListsDeleteOnRemoveClearAndDestruction)
{
    int deaths = 0;
    {
        vcore::alist<counted> list(0, true);
        for (int i = 0; i < 5; ++i)
            list.append(new counted(deaths));
        EXPECT_TRUE(list.removeAt(1));
        EXPECT_EQ(deaths, 1);
        counted* kept = list.take(0);
        EXPECT_EQ(list.count(), 3);
        delete kept;
        EXPECT_EQ(deaths, 2);
        list.clear();
        EXPECT_EQ(deaths, 5);
        EXPECT_EQ(list.count(), 0);
        list.append(new counted(deaths));
    }
    EXPECT_EQ(deaths, 6);

    counted borrowed(deaths);
    {
        vcore::alist<counted> list;
        list.append(&borrowed);
        list.append(&borrowed);
        EXPECT_EQ(list.indexOf(&borrowed), 0);
    }
    EXPECT_EQ(deaths, 6);
}

TEST(AList, RemovingKeepsTheOrderOfTheRest)
{
    int v[4] = {};
    vcore::alist<int> list;
    for (int& x : v)
        list.append(&x);
    list.removeAt(1);
    EXPECT_EQ(list[0], &v[0]);
    EXPECT_EQ(list[1], &v[2]);
    EXPECT_EQ(list[2], &v[3]);
    EXPECT_EQ(list[3], nullptr);
    int seen = 0;
    for (int* p : list)
        seen += p != nullptr;
    EXPECT_EQ(seen, 3);
}

} // namespace
