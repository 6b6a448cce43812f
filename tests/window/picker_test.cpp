// The "..." button and its folder chooser: a stand-in chooser for what the
// field does with an answer, and Qt's own dialog for how it is asked.
#include <QDir>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QSettings>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <filesystem>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

#include "extraction/defaults.h"
#include "tests/support/pages.h"
#include "tests/support/temp_folder.h"
#include "tests/window/window_testing.h"
#include "window/form1.h"
#include "window/text_boxes.h"

namespace vantrel::window {
namespace {

using testing::Control;
using vantrel::testing::TempFolder;

TEST(WindowPicker, ChoiceReplacesTheFieldAndCancelKeepsIt) {
  struct Case {
    QString field;                 // before the first pick
    std::vector<QString> answers;  // "" is a cancel
    std::vector<QString> fields;   // after each pick
  };
  for (const Case& c : std::vector<Case>{
           {"D:\\typed by hand", {""}, {"D:\\typed by hand"}},
           {"C:\\ProjectPath\\",
            {"/srv/pages", ""},
            {"/srv/pages", "/srv/pages"}},
           {"/srv/pages", {"/"}, {"/"}}}) {  // the root keeps its separator
    std::vector<QString> titles;
    Form1 form([&](const QString& title) {
      titles.push_back(title);
      return c.answers[titles.size() - 1];
    });
    Control<QLineEdit>(form, "Text3").setText(c.field);
    for (std::size_t i = 0; i < c.answers.size(); ++i) {
      QTest::mouseClick(&Control(form, "Command1"), Qt::LeftButton);
      EXPECT_EQ(form.Text3(), c.fields[i].toStdU16String()) << i;
    }
    EXPECT_EQ(titles, std::vector<QString>(c.answers.size(), "Choose Folder:"));
  }
}

// While a chooser is open, "..." and "GO!" wait: one dialog, and no run on
// the field that the choice is about to replace.
TEST(WindowPicker, OneChooserAtATimeAndNoRunWhileChoosing) {
  int asked = 0;
  Form1* shown = nullptr;
  Form1 form([&](const QString&) {
    if (++asked == 1) {
      QTest::mouseClick(&Control(*shown, "Command1"), Qt::LeftButton);
      QTest::mouseClick(&Control(*shown, "Command2"), Qt::LeftButton);
    }
    return QString("/srv/first");
  });
  shown = &form;
  const std::u16string help = Control<LogBox>(form, "Text5").Text();
  QTest::mouseClick(&Control(form, "Command1"), Qt::LeftButton);
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(form.Text3(), u"/srv/first");
  EXPECT_EQ(Control<LogBox>(form, "Text5").Text(), help);
}

// The old picker passed paths through the ANSI code page, which turned
// characters outside it into others, naming a folder that does not exist.
TEST(WindowPickerRegression, FolderNameOutsideAnyCodePageReachesTheRun) {
  TempFolder root;
  const std::string name =
      "\xD0\xA1\xD1\x82\xD1\x80 \xE9\xA0\x81 \xF0\x9F\x98\x80";
  root.create(name + "/a.htm", vantrel::testing::Page("one\r\n"));
  Form1 form([&](const QString&) {
    return QString::fromStdString((root.path() / name).string());
  });
  QTest::mouseClick(&Control(form, "Command1"), Qt::LeftButton);
  ASSERT_TRUE(testing::ClickGoAndWait(form));
  EXPECT_EQ(Control<QLabel>(form, "Label6").text(),
            "1 checked, 0 didn't find.");
  EXPECT_EQ(root.list(name),
            (std::vector<std::string>{"Export1.htm", "a.htm"}));
}

// Where Qt keeps a user's settings in that format: QSettings can move it but
// has no getter.
QString UserSettingsFolder(QSettings::Format format) {
  return QFileInfo(
             QSettings(format, QSettings::UserScope, "QtProject").fileName())
      .path();
}

// A fresh home folder: HOME, the XDG folders and Qt's user settings point
// into it while it lasts. Qt reads the settings folder once per program, so
// that is moved by hand.
class FakeHome {
 public:
  FakeHome() {
    const QByteArray home = QByteArray::fromStdString(folder_.path());
    for (const auto& [name, sub] : {std::pair{"HOME", ""},
                                    {"XDG_CONFIG_HOME", "/.config"},
                                    {"XDG_DATA_HOME", "/.local/share"},
                                    {"XDG_CACHE_HOME", "/.cache"}}) {
      old_environment_.emplace_back(name, qEnvironmentVariableIsSet(name)
                                              ? std::optional(qgetenv(name))
                                              : std::nullopt);
      qputenv(name, home + sub);
    }
    for (const auto format : {QSettings::NativeFormat, QSettings::IniFormat}) {
      old_settings_.emplace_back(format, UserSettingsFolder(format));
      QSettings::setPath(format, QSettings::UserScope,
                         QString::fromUtf8(home + "/.config"));
    }
  }
  ~FakeHome() {
    for (const auto& [name, value] : old_environment_) {
      value ? qputenv(name, *value) : qunsetenv(name);
    }
    for (const auto& [format, folder] : old_settings_) {
      QSettings::setPath(format, QSettings::UserScope, folder);
    }
  }

  TempFolder& folder() { return folder_; }
  // Every file and folder in it, as sorted paths relative to it.
  std::vector<std::string> Everything() const {
    std::vector<std::string> paths;
    for (const auto& entry :
         std::filesystem::recursive_directory_iterator(folder_.path())) {
      paths.push_back(entry.path().lexically_relative(folder_.path()));
    }
    std::sort(paths.begin(), paths.end());
    return paths;
  }

 private:
  TempFolder folder_;
  std::vector<std::pair<const char*, std::optional<QByteArray>>>
      old_environment_;
  std::vector<std::pair<QSettings::Format, QString>> old_settings_;
};

// A folder from outside, as `vantrel FOLDER` or a drop on the window or on
// a one-line field gives it: a folder as itself, a file as its folder;
// anything else leaves the field as it was.
TEST(WindowPicker, FolderFromOutsideFillsTheFieldAndNothingElse) {
  TempFolder root;
  root.create("pages/a.htm", "x");
  const QString pages =
      QString::fromStdString((root.path() / "pages").string());
  QMimeData text;
  text.setText(pages);
  QMimeData web;
  web.setUrls({QUrl("https://vantrel.org/pages/")});
  QMimeData folder;
  folder.setUrls({QUrl::fromLocalFile(pages)});
  QMimeData file;
  file.setUrls({QUrl::fromLocalFile(pages + "/a.htm")});
  struct Case {
    const char* target;
    const QMimeData* drop;
    bool taken;
  };
  for (const Case& c : std::vector<Case>{{"", &folder, true},
                                         {"Text3", &file, true},
                                         {"Text4", &folder, true},
                                         {"", &text, false},
                                         {"Text3", &web, false}}) {
    Form1 form;
    QWidget& target = *c.target == '\0' ? static_cast<QWidget&>(form)
                                        : Control(form, c.target);
    const QPointF at(target.rect().center());
    QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, c.drop, Qt::LeftButton,
                          Qt::NoModifier);
    QApplication::sendEvent(&target, &enter);
    QDropEvent drop(at, Qt::CopyAction, c.drop, Qt::LeftButton, Qt::NoModifier);
    if (c.taken || target.acceptDrops())
      QApplication::sendEvent(&target, &drop);
    EXPECT_EQ(form.Text3(),
              c.taken ? pages.toStdU16String() : u"C:\\ProjectPath\\")
        << c.target;
    EXPECT_EQ(form.Text4(), u"htm") << c.target;
    EXPECT_EQ(enter.isAccepted(), c.taken) << c.target;
  }
  // From the command line, relative to where the program starts: a folder
  // with or without its trailing slash, a file as its folder, and a path
  // where there is nothing as given, which the run then does not find.
  const QString root_path = QString::fromStdString(root.path().string());
  struct Given {
    QString path, field;
  };
  for (const Given& given :
       std::vector<Given>{{"pages", pages},
                          {"pages/", pages},
                          {"pages/a.htm", pages},
                          {"pages/none", pages + "/none"},
                          {"/no/such/folder", "/no/such/folder"},
                          {"/no/such/folder/", "/no/such/folder"}}) {
    Form1 form;
    const QString before = QDir::currentPath();
    QDir::setCurrent(root_path);
    form.OpenFolder(given.path);
    QDir::setCurrent(before);
    EXPECT_EQ(form.Text3(), given.field.toStdU16String())
        << given.path.toStdString();
    EXPECT_EQ(form.Text1(), kDefaultStartMarker);
  }
  Form1 form;
  form.OpenFolder("/no/such/folder");
  ASSERT_TRUE(testing::ClickGoAndWait(form));
  EXPECT_EQ(Control<LogBox>(form, "Text5").Text(),
            u"Didn't find choosed folder.\r\n");
}

TEST(WindowPicker, DialogOpensUnownedModalAtDesktopOrHome) {
  for (const bool desktop : {true, false}) {
    FakeHome home;
    const std::string start = desktop ? "Desktop/" : "";
    home.folder().create(start + "Pages/a.htm", "x");
    const QString home_path =
        QString::fromStdString(home.folder().path().string());
    const QString start_path = home_path + (desktop ? "/Desktop" : "");
    const std::vector<std::string> home_before = home.Everything();

    Form1 form;  // with Qt's dialog
    testing::ShowAndActivate(form);
    bool seen = false;
    std::function<void()> answer = [&] {
      QFileDialog* dialog = nullptr;
      for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->isVisible() && qobject_cast<QFileDialog*>(w)) {
          dialog = qobject_cast<QFileDialog*>(w);
        }
      }
      if (dialog == nullptr) return QTimer::singleShot(10, answer);
      seen = true;
      EXPECT_EQ(dialog->windowTitle(), "Choose Folder:");
      EXPECT_EQ(dialog->fileMode(), QFileDialog::Directory);
      EXPECT_TRUE(dialog->testOption(QFileDialog::ShowDirsOnly));
      EXPECT_EQ(dialog->parentWidget(), nullptr);
      EXPECT_EQ(dialog->directory().absolutePath(), start_path);
      EXPECT_EQ(dialog->findChild<QLineEdit*>("fileNameEdit")->text(), "");
      // The dialog is modal: the window takes no input, and GO! does not
      // run on the field that is about to change.
      EXPECT_EQ(QApplication::activeModalWidget(), dialog);
      const std::u16string help = Control<LogBox>(form, "Text5").Text();
      QTest::mouseClick(&Control(form, "Command2"), Qt::LeftButton);
      EXPECT_EQ(Control<LogBox>(form, "Text5").Text(), help);
      // Choose Pages on the desktop, cancel in the home folder.
      if (desktop) {
        dialog->selectFile(start_path + "/Pages");
        static_cast<QDialog*>(dialog)->accept();
      } else {
        dialog->reject();
      }
    };
    QTimer::singleShot(0, answer);
    form.Command1_Click();
    EXPECT_TRUE(seen);
    // The program keeps nothing between starts: neither Qt's dialog history
    // nor anything else lands in the home folder.
    EXPECT_EQ(home.Everything(), home_before);
    EXPECT_EQ(UserSettingsFolder(QSettings::NativeFormat),
              home_path + "/.config");
    EXPECT_EQ(form.Text3(), desktop ? (start_path + "/Pages").toStdU16String()
                                    : u"C:\\ProjectPath\\");
  }
}

}  // namespace
}  // namespace vantrel::window
