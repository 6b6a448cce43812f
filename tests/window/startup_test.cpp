// The window as it opens: the overlaps, focus and tab order, the empty
// bar, the picture and the icon.
#include <QImageReader>
#include <QLabel>
#include <vector>

#include "tests/window/window_testing.h"
#include "window/form1.h"

namespace vantrel::window {
namespace {

using testing::Control;

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

TEST(WindowStartUp, PictureAndIcon) {
  Form1 form;
  const auto& picture = Control<QLabel>(form, "Image1");
  EXPECT_EQ(picture.pixmap().size(), QSize(640, 480));
  EXPECT_TRUE(picture.hasScaledContents());
  const QList<QSize> sizes = form.windowIcon().availableSizes();
  EXPECT_TRUE(sizes.contains(QSize(16, 16)) && sizes.contains(QSize(48, 48)));
  EXPECT_EQ(QImageReader(":/vantrel/vantrel.ico").imageCount(), 9);
}

}  // namespace
}  // namespace vantrel::window
