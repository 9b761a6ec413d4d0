// The first row a console list shows: kept within its rows, moved by bar, wheel and size.
#include <gtest/gtest.h>

#include "hub/listscroll.h"

namespace {

TEST(ListScroll, StaysWithinTheRowsWhateverIsAsked)
{
    hub::listscroll scroll;
    scroll.fit(20, 7);
    EXPECT_EQ(13, scroll.lastFirst());
    EXPECT_TRUE(scroll.scrollTo(50));
    EXPECT_EQ(13, scroll.first()) << "the last row at the bottom, no space below it";
    EXPECT_FALSE(scroll.scrollBy(1));
    EXPECT_TRUE(scroll.scrollBy(-100));
    EXPECT_EQ(0, scroll.first());
    EXPECT_FALSE(scroll.scrollTo(-3));
    EXPECT_EQ(8, scroll.endShown()) << "the row cut by the bottom is drawn too";
    scroll.scrollTo(13);
    EXPECT_EQ(20, scroll.endShown());

    scroll.fit(3, 7);
    EXPECT_EQ(0, scroll.lastFirst());
    EXPECT_FALSE(scroll.scrollBy(2)) << "all rows fit: nothing to scroll";
}

TEST(ListScroll, ATallerListOrFewerRowsPullTheFirstShownRowBack)
{
    hub::listscroll scroll;
    scroll.fit(20, 7);
    scroll.scrollTo(13);
    scroll.fit(20, 10);
    EXPECT_EQ(10, scroll.first());
    scroll.fit(21, 10);
    EXPECT_EQ(10, scroll.first()) << "a row added below keeps what is shown";
    scroll.fit(5, 10);
    EXPECT_EQ(0, scroll.first());
    scroll.fit(-1, -1);
    EXPECT_EQ(0, scroll.first());
    EXPECT_EQ(0, scroll.rows());
}

TEST(ListScroll, WheelNotchesAddUpAndATurnBackStartsAfresh)
{
    hub::listscroll scroll;
    scroll.fit(40, 7);
    EXPECT_TRUE(scroll.wheel(-hub::listscroll::notch, 3));
    EXPECT_EQ(3, scroll.first()) << "towards the user: down";
    EXPECT_FALSE(scroll.wheel(-60, 3)) << "half a notch waits";
    EXPECT_TRUE(scroll.wheel(-60, 3));
    EXPECT_EQ(6, scroll.first());
    EXPECT_FALSE(scroll.wheel(-90, 3));
    EXPECT_TRUE(scroll.wheel(hub::listscroll::notch, 3));
    EXPECT_EQ(3, scroll.first()) << "the part notch down is dropped, not netted against the turn up";
    EXPECT_TRUE(scroll.wheel(2 * hub::listscroll::notch, 1));
    EXPECT_EQ(1, scroll.first());
    EXPECT_TRUE(scroll.wheel(10 * hub::listscroll::notch, 3));
    EXPECT_EQ(0, scroll.first());
}

TEST(ListScroll, RowUnderThePointerCountsFromTheFirstShown)
{
    hub::listscroll scroll;
    scroll.fit(20, 7);
    EXPECT_EQ(1, scroll.rowAt(18, 18));
    scroll.scrollTo(5);
    EXPECT_EQ(5, scroll.rowAt(0, 18));
    EXPECT_EQ(7, scroll.rowAt(37, 18));
    EXPECT_EQ(-1, scroll.rowAt(-1, 18));
    EXPECT_EQ(-1, scroll.rowAt(10, 0));
}

} // namespace
