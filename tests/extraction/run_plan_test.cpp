// A run's plan, decided before its first file: how the files are read,
// which file decided it, and the output's form that the transform and the
// options ask for.
#include "extraction/run_plan.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "extraction/text/native_names.h"
#include "tests/support/pages.h"
#include "tests/support/temp_folder.h"

namespace vantrel {
namespace {

using namespace std::string_literals;
using testing::TempFolder;

TEST(RunPlanTest, CharsetAndOutputFormFromThePoliciesAndTheTransform) {
  TempFolder dir;
  // a.htm, with its UTF-8 signature, is the first file.
  dir.create("a.htm", "\xEF\xBB\xBFx");
  dir.create("b.htm", std::string(testing::kUtf16LeSignature) + "x\0"s);
  struct Case {
    const char* what;
    CharsetPolicy policy;
    bool text;
    std::optional<OutputFormat> format;
    std::optional<Charset> charset;
    std::u16string decided_by;
    Charset output_charset;
    OutputKind kind;
  };
  const Case cases[] = {
      {"the first file decides",
       CharsetOfFirstFile{},
       false,
       {},
       Charset::kUtf8,
       u"a.htm",
       Charset::kUtf8,
       OutputKind::kPieces},
      {"a charset for every file",
       Charset::kWindows1256,
       false,
       {},
       Charset::kWindows1256,
       u"",
       Charset::kWindows1256,
       OutputKind::kPieces},
      {"each file its own, out in UTF-16LE",
       CharsetOfEachFile{},
       false,
       {},
       {},
       u"",
       Charset::kUtf16Le,
       OutputKind::kPieces},
      {"a transform that gives text makes the output text",
       CharsetOfFirstFile{},
       true,
       {},
       Charset::kUtf8,
       u"a.htm",
       Charset::kUtf8,
       OutputKind::kText},
      {"text in a named format",
       CharsetOfEachFile{},
       true,
       OutputFormat::kUtf16Le,
       {},
       u"",
       Charset::kUtf16Le,
       OutputKind::kText},
      {"a named format without text", Charset::kUtf16Le, false,
       OutputFormat::kUtf8, Charset::kUtf16Le, u"", Charset::kUtf16Le,
       OutputKind::kPieces},
  };
  const Sources sources = SourcesInOrder(
      NativePath(dir.text()), ExtensionFilter({u"htm"}), {false, false});
  for (const Case& c : cases) {
    RunInputs inputs;
    inputs.files.charset = c.policy;
    RunOptions options;
    if (c.text) options.transform = &PlainTextTransform();
    options.output.format = c.format;
    const RunPlan plan = PlanRun(inputs, options, sources);
    EXPECT_EQ(plan.charset, c.charset) << c.what;
    EXPECT_EQ(plan.decided_by, c.decided_by) << c.what;
    EXPECT_EQ(plan.output_charset, c.output_charset) << c.what;
    EXPECT_EQ(plan.form.kind, c.kind) << c.what;
    EXPECT_EQ(plan.form.format, c.format) << c.what;
  }
  // JSON lines stay JSON lines whatever the transform gives.
  RunOptions options;
  options.transform = &PlainTextTransform();
  options.output.kind = OutputKind::kJsonLines;
  EXPECT_EQ(PlanRun({}, options, sources).form.kind, OutputKind::kJsonLines);
}

}  // namespace
}  // namespace vantrel
