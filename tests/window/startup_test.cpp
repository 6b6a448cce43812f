// The window as it opens: the overlaps, focus and tab order, the empty bar.
#include <vector>

#include "tests/window/window_testing.h"
#include "window/form1.h"

namespace vantrel::window {
namespace {

// The overlaps that the stacking order decides: "..." over the folder
// field, the extension field over its caption, Label4 over the picture.
// Line2 over Line1 shows in the runs.
TEST(WindowStartUp, OverlapsShowTheFrontControl) {
  Form1 form;
  EXPECT_EQ(form.childAt(215, 300)->objectName(), "Command1");
  EXPECT_EQ(form.childAt(186, 325)->objectName(), "Text4");
  EXPECT_EQ(form.childAt(6, 6)->objectName(), "Label4");
}

TEST(WindowStartUp, FocusTabOrderAndEmptyBar) {
  Form1 form;
  testing::ShowAndActivate(form);
  EXPECT_EQ(testing::BlueBarEnd(form), 0);
  ASSERT_EQ(QApplication::focusWidget()->objectName(), "Text1");
  std::vector<QString> visited;
  for (int i = 0; i < 8; ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    visited.push_back(QApplication::focusWidget()->objectName());
  }
  EXPECT_EQ(visited,
            (std::vector<QString>{"Text2", "Text3", "Command1", "Text4",
                                  "Check1", "Text5", "Command2", "Text1"}));
}

}  // namespace
}  // namespace vantrel::window
