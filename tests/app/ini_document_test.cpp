#include "app/ini_document.h"

#include <gtest/gtest.h>

namespace zelt {
namespace {

using Kind = IniDocument::LineKind;

TEST(IniDocument, ClassifiesEachKindOfLine) {
  const IniDocument doc = IniDocument::FromText(
      "\n; comment = not a key\n// note=not a key either\n  [ Org ]  \n"
      " Name = some value \nbare words\n=5\n");
  const auto& lines = doc.Lines();
  ASSERT_EQ(lines.size(), 7u);
  EXPECT_EQ(lines[0].kind, Kind::kBlank);
  EXPECT_EQ(lines[1].kind, Kind::kComment);
  EXPECT_EQ(lines[2].kind, Kind::kNote);
  EXPECT_EQ(lines[3].kind, Kind::kSection);
  EXPECT_EQ(lines[3].section, "Org");
  EXPECT_EQ(lines[4].kind, Kind::kKey);
  EXPECT_EQ(lines[4].name, "Name");
  EXPECT_EQ(lines[4].value, "some value");
  EXPECT_EQ(lines[4].section, "Org");
  EXPECT_EQ(lines[4].number, 5u);
  EXPECT_EQ(lines[5].kind, Kind::kBare);
  EXPECT_EQ(lines[6].kind, Kind::kBare);  // a key needs a name
  EXPECT_FALSE(doc.Find("org", "// note").has_value());
  EXPECT_FALSE(doc.Find("", "// note").has_value());
}

TEST(IniDocument, MatchesSectionAndKeyNamesWithoutCaseAndKeepsTheFirstDefinition) {
  const IniDocument doc =
      IniDocument::FromText("[ORG]\nAp_Mode=1\nap_mode=2\n[other]\nAp_Mode=3\n[Org]\nWeb=x\n");
  EXPECT_EQ(doc.Read("org", "AP_MODE"), "1");
  EXPECT_EQ(doc.Read("other", "ap_mode"), "3");
  EXPECT_EQ(doc.Read("org", "web"), "x");  // a section opened twice adds to the first
  EXPECT_EQ(doc.Read("org", "absent"), "");
  EXPECT_FALSE(doc.Find("nosuch", "Web").has_value());
}

TEST(IniDocument, SplitsAtEveryKindOfLineBreakAndKeepsEqualsSignsInValues) {
  const IniDocument doc = IniDocument::FromText("[s]\r\na=1\rb=2\nc=x=y\r\n\r\nd=");
  EXPECT_EQ(doc.Read("s", "a"), "1");
  EXPECT_EQ(doc.Read("s", "b"), "2");
  EXPECT_EQ(doc.Read("s", "c"), "x=y");
  ASSERT_TRUE(doc.Find("s", "d").has_value());
  EXPECT_EQ(*doc.Find("s", "d"), "");
  EXPECT_EQ(doc.Lines().size(), 6u);
}

TEST(IniDocument, KeysBeforeAnySectionStayOutOfNamedSections) {
  const IniDocument doc = IniDocument::FromText("a=1\n[s]\n");
  EXPECT_EQ(doc.Read("", "a"), "1");
  EXPECT_FALSE(doc.Find("s", "a").has_value());
}

}  // namespace
}  // namespace zelt
