// Wine's own media player control (no IDispatch type information, part of the object model)
// cannot be driven: the connector must refuse it cleanly, within its bounds.
#include <cstdlib>

#include "wmpfixture.h"

using namespace wmptest;

namespace {

TEST(WineOwnControl, IsRefusedWithoutCrashOrHang)
{
    if (!std::getenv("TOLVANU_WMP_WINE_OWN"))
        GTEST_SKIP() << "run by wine_own_control.sh, where the stand-in is not registered";
    standinLibrary standin;  // only for its skin host window
    auto skinHost = reinterpret_cast<standinSkinHostProc>(
        reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleW(L"standin_olecontrol.dll"), "standinSkinHost")));
    ASSERT_TRUE(skinHost && skinHost(true));
    {
        testWmp session;
        ASSERT_TRUE(session.prepare());
        const auto start = std::chrono::steady_clock::now();
        EXPECT_FALSE(session.present());
        EXPECT_EQ(session.connectSession(), 0u);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(2 * Tolvanu_WMP::createWaitMs));
        EXPECT_TRUE(session.dispatch(vcore::str(u"media.play"), vcore::str()));
        session.closeSession();
    }
    skinHost(false);
}

} // namespace
