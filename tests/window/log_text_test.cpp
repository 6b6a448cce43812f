// The log's entries as the window shows them: in English the engine's own
// lines, so that the window and vantrel-cli never drift apart; in Arabic
// every kind in its translation, with the file's name as it stands.
#include "window/log_text.h"

#include <gtest/gtest.h>

#include <QLocale>

#include "window/language.h"

namespace vantrel::window {
namespace {

std::vector<LogEntry> EveryKind() {
  std::vector<LogEntry> entries;
  for (int kind = 0; kind <= static_cast<int>(LogKind::kStopped); ++kind) {
    entries.emplace_back(static_cast<LogKind>(kind), u"sub/a.htm");
  }
  entries.push_back(LogEntry::Unreadable(u"2024", true, u"Permission denied"));
  entries.push_back(LogEntry::Failure(u"cannot open x: No such file"));
  return entries;
}

TEST(WindowLogText, EnglishIsTheEngineLineAndArabicTranslatesEveryKind) {
  for (const LogEntry& entry : EveryKind()) {
    const QString english = QString::fromStdU16String(LogLine(entry));
    EXPECT_EQ(ShownLogLine(entry), english);
    const WindowLanguage arabic{QLocale("ar_EG")};
    ASSERT_TRUE(arabic.Translated());
    const QString shown = ShownLogLine(entry);
    if (entry.kind == LogKind::kFailure) {
      // A failure's description is the system's, in its own words.
      EXPECT_EQ(shown, english);
      continue;
    }
    EXPECT_NE(shown, english) << english.toStdString();
    const QString name = QString::fromStdU16String(entry.name);
    EXPECT_EQ(shown.contains(name), english.contains(name))
        << shown.toStdString();
    if (entry.kind == LogKind::kCantOpen) {
      EXPECT_TRUE(shown.contains(QString::fromStdU16String(entry.reason)));
    }
  }
}

}  // namespace
}  // namespace vantrel::window
