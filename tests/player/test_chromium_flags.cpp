#include "EngineRuntime.h"

#include <gtest/gtest.h>

TEST(ChromiumFlags, AppendToTheUsersFlagsWithoutOverridingThem)
{
    struct Case {
        const char* user;
        bool software;
        const char* expected;
    };
    const Case cases[] = {
        {"", false,
         "--process-per-site --autoplay-policy=no-user-gesture-required --js-flags=--liftoff-only"},
        {"", true,
         "--process-per-site --autoplay-policy=no-user-gesture-required --js-flags=--liftoff-only "
         "--disable-gpu"},
        {"--enable-logging --v=1", false,
         "--enable-logging --v=1 --process-per-site --autoplay-policy=no-user-gesture-required "
         "--js-flags=--liftoff-only"},
        // The user's own choice of a switch stands.
        {"--js-flags=--max-lazy --autoplay-policy=user-gesture-required", true,
         "--js-flags=--max-lazy --autoplay-policy=user-gesture-required --process-per-site "
         "--disable-gpu"},
        {"  --disable-gpu  ", true,
         "--disable-gpu --process-per-site --autoplay-policy=no-user-gesture-required "
         "--js-flags=--liftoff-only"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.user);
        EXPECT_EQ(
            player::runtime::chromiumFlags(QString::fromUtf8(c.user), c.software).toStdString(),
            c.expected);
    }
}
