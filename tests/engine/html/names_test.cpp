#include "engine/html/names.h"

#include <gtest/gtest.h>

namespace quire::engine::html {
namespace {

TEST(NamesTest, ExpandsRelativeToTheCurrentDocument) {
  const std::string current = "d:\\run\\html\\ch1.htm";
  struct Case {
    std::string url, full;
  } cases[] = {
      {"ch2.htm", "d:\\run\\html\\ch2.htm"},
      {"../pics/a.gif", "d:\\run\\pics\\a.gif"},
      {"./sub/x.htm#part", "d:\\run\\html\\sub\\x.htm#part"},
      {"#top", "d:\\run\\html\\ch1.htm#top"},
      {"\\root.htm", "d:\\root.htm"},
      {"e:\\other\\..\\x.htm", "e:\\other\\..\\x.htm"},  // a drive: left as it is
      {"\\\\server\\share\\a.htm", "\\\\server\\share\\a.htm"},
      {"http://example.com/a", "http://example.com/a"},
      {"my%20file.htm", "d:\\run\\html\\my file.htm"},
      {"../../../../up.htm", "d:\\up.htm"},
      {"copy:files/a.zip", "d:\\run\\html\\copy:files\\a.zip"},
  };
  for (const Case& c : cases) EXPECT_EQ(ExpandName(c.url, current), c.full) << c.url;
}

TEST(NamesTest, SplitsUrls) {
  struct Case {
    std::string url;
    UrlParts parts;
  } cases[] = {
      {"http://user:pw@host.ru:8080/a/b.htm",
       {"http", "user", "pw", "host.ru", "8080", "/a/b.htm"}},
      {"copy://files\\a.zip", {"copy", "", "", "files\\a.zip", "", ""}},
      {"rungame://=fallback=key", {"rungame", "", "", "=fallback=key", "", ""}},
      {"mailto:me@x.ru", {"mailto", "", "", "", "", "me@x.ru"}},
      {"HTTP:www.x.ru", {"HTTP", "", "", "", "", "www.x.ru"}},
      {"copy:name", {"", "", "", "", "", "copy:name"}},
      {"page.htm", {"", "", "", "", "", "page.htm"}},
  };
  for (const Case& c : cases) {
    const UrlParts p = SplitUrl(c.url);
    EXPECT_EQ(p.Scheme, c.parts.Scheme) << c.url;
    EXPECT_EQ(p.User, c.parts.User) << c.url;
    EXPECT_EQ(p.Password, c.parts.Password) << c.url;
    EXPECT_EQ(p.Host, c.parts.Host) << c.url;
    EXPECT_EQ(p.Port, c.parts.Port) << c.url;
    EXPECT_EQ(p.Path, c.parts.Path) << c.url;
  }
}

}  // namespace
}  // namespace quire::engine::html
