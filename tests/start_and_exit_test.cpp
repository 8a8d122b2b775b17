#include <gtest/gtest.h>

#include "screens/menu_layout.h"
#include "screens/title_state.h"
#include "support/test_window.h"

namespace {

// Closing the window and a missing display are among the end-to-end faults.
TEST(StartAndExitDeathTest, TheTitleMenusQuitItemEndsTheProcessWithStatusZero) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  openTestWindow();
  TitleState title;
  title.selection = TitleMenu::kQuit;
  InputMap keys = {{"enter", true}};
  EXPECT_EXIT(title.update(&keys, kFrame), testing::ExitedWithCode(0), "");
}

}  // namespace
