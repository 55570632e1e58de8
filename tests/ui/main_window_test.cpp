// The main window: start state, commands and control notifications.
#include <windows.h>

#include <gtest/gtest.h>

#include "ui/main_window.h"
#include "ui_support.h"

namespace {

TEST(MainWindow, MessagesAreOwnedByTheMainWindowWithTheProgramCaption) {
  ModalAnswerer answerer(IDNO);
  EXPECT_EQ(ShowMessage("Question?", MB_YESNOCANCEL | MB_ICONQUESTION), IDNO);
  ASSERT_EQ(answerer.Finish(), 1);
  const DialogSeen& box = answerer.Seen()[0];
  EXPECT_EQ(box.owner, MainWindow());
  EXPECT_EQ(box.title, "RQ57 Configuration Utility");
  EXPECT_EQ(box.text, "Question?");
  EXPECT_TRUE(box.hasIcon);
  EXPECT_EQ(box.buttons.size(), 3u);
}

}  // namespace
