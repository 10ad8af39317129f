#include <cstdio>

#include "authoring/book_files.h"
#include "authoring/commands.h"
#include "authoring/json.h"
#include "core/declarations.h"
#include "core/path_globals.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace quire::authoring {

namespace fs = std::filesystem;
using namespace quire::core;

namespace {

// Builds one JSON object with its keys in the order they are added.
class Json {
 public:
  Json& Str(const char* key, const std::string& cp1251) {
    return Raw(key, JsonString(platform::Cp1251ToUtf8(cp1251)));
  }
  Json& Int(const char* key, std::int64_t value) { return Raw(key, std::to_string(value)); }
  Json& Bool(const char* key, bool value) { return Raw(key, value ? "true" : "false"); }
  Json& Strs(const char* key, const std::vector<std::string>& values) {
    return Raw(key, Array(values, [](const std::string& v) {
                 return JsonString(platform::Cp1251ToUtf8(v));
               }));
  }
  Json& Raw(const char* key, const std::string& json) {
    text_ += (text_.empty() ? "{" : ",") + JsonString(key) + ":" + json;
    return *this;
  }
  std::string Done() const { return text_.empty() ? "{}" : text_ + "}"; }

  template <class T, class F>
  static std::string Array(const std::vector<T>& items, F each) {
    std::string out = "[";
    for (size_t i = 0; i < items.size(); ++i) out += (i ? "," : "") + each(items[i]);
    return out + "]";
  }

 private:
  std::string text_;
};

std::string Button(const RBtn& b) {
  return Json()
      .Int("vx", b.Left)
      .Int("vy", b.Top)
      .Str("fn1", b.NormalPicture)
      .Str("fn2", b.HoverPicture)
      .Str("fn3", b.PressedPicture)
      .Str("go", b.Command)
      .Str("hint", b.Hint)
      .Str("wav", b.Sound)
      .Done();
}

template <class S>
Json SwitchStart(const S& s) {
  return std::move(Json()
                       .Int("vx", s.Left)
                       .Int("vy", s.Top)
                       .Str("fn1", s.Pictures[0])
                       .Str("fn2", s.Pictures[1])
                       .Str("fn3", s.Pictures[2])
                       .Str("fn4", s.Pictures[3])
                       .Bool("state", s.State)
                       .Bool("store", s.Store));
}

std::string Popup(const RPopupData& p) {
  return Json()
      .Int("xfon", p.BackgroundLeft)
      .Int("yfon", p.BackgroundTop)
      .Str("fnfon", p.BackgroundPicture)
      .Int("xbtn", p.ItemsLeft)
      .Int("ybtn", p.ItemsTop)
      .Strs("fnbtnup", p.ItemPicturesNormal)
      .Strs("fnbtnmove", p.ItemPicturesHover)
      .Strs("fnbtndown", p.ItemPicturesPressed)
      .Str("fontup", p.FontNames[0])
      .Int("sizeup", p.FontSizes[0])
      .Str("styleup", p.FontStyles[0])
      .Int("colorup", p.FontColours[0])
      .Str("fontmv", p.FontNames[1])
      .Int("sizemv", p.FontSizes[1])
      .Str("stylemv", p.FontStyles[1])
      .Int("colormv", p.FontColours[1])
      .Strs("caption", p.Captions)
      .Strs("go", p.Commands)
      .Str("parent", p.Parent)
      .Int("type", p.Type)
      .Strs("vertex", p.Vertex)
      .Done();
}

std::string Screen(const TScreenDecl& s) {
  return Json()
      .Str("background", s.Background)
      .Raw("buttons", Json::Array(s.Buttons, Button))
      .Raw("switchone", Json::Array(s.SwitchOne,
                                    [](const RSwthOne& o) {
                                      return SwitchStart(o)
                                          .Str("goup", o.UpCommand)
                                          .Str("godown", o.DownCommand)
                                          .Str("hint", o.Hint)
                                          .Str("wav", o.Sound)
                                          .Done();
                                    }))
      .Raw("switchgrp", Json::Array(s.SwitchGrp,
                                    [](const RSwthGrp& g) {
                                      return SwitchStart(g)
                                          .Int("group", g.Group)
                                          .Str("go", g.Command)
                                          .Str("hint", g.Hint)
                                          .Str("wav", g.Sound)
                                          .Done();
                                    }))
      .Raw("popups", Json::Array(s.Popups, Popup))
      .Done();
}

template <class A>
Json Area(const A& a) {
  return std::move(
      Json().Int("vx", a.Left).Int("vy", a.Top).Int("vw", a.Right).Int("vh", a.Bottom));
}

// The description as one JSON object, a top-level key a line.
std::string DescriptionJson(const TDescription& d) {
  const auto points = Json::Array(d.VertexMain, [](const TPoint& p) {
    return "[" + std::to_string(p.X) + "," + std::to_string(p.Y) + "]";
  });
  const std::pair<const char*, std::string> fields[] = {
      {"title", JsonString(platform::Cp1251ToUtf8(d.AppTitle))},
      {"codec", JsonString(platform::Cp1251ToUtf8(d.Codec))},
      {"rolic", JsonString(platform::Cp1251ToUtf8(d.Rolic))},
      {"background", JsonString(platform::Cp1251ToUtf8(d.ClipBackground))},
      {"icon", JsonString(platform::Cp1251ToUtf8(d.Icon))},
      {"helpwin", d.HelpWin ? Json()
                                  .Int("vw", d.HelpWin->Width)
                                  .Int("vh", d.HelpWin->Height)
                                  .Str("fn", d.HelpWin->File)
                                  .Done()
                            : "null"},
      {"bgsounddef",
       Json::Array(d.BgSoundDef,
                   [](const std::string& s) { return JsonString(platform::Cp1251ToUtf8(s)); })},
      {"vertexmain", points},
      {"minimize", d.Minimize ? Button(*d.Minimize) : "null"},
      {"close", d.Close ? Button(*d.Close) : "null"},
      {"screens", Json::Array(d.Screens, Screen)},
      {"html", Json::Array(d.Html,
                           [](const RHTML& h) {
                             return Area(h)
                                 .Str("fn", h.StartDocument)
                                 .Int("number", h.Number)
                                 .Int("screen", h.Screen)
                                 .Done();
                           })},
      {"findtxt", Json::Array(d.FindTxt,
                              [](const RFindTxt& f) {
                                return Area(f)
                                    .Str("frame", f.Frame)
                                    .Strs("nofiles", f.ExcludedFiles)
                                    .Int("number", f.Number)
                                    .Int("screen", f.Screen)
                                    .Str("hint", f.Hint)
                                    .Done();
                              })},
      {"path", Json::Array(d.PathInput,
                           [](const RPathInput& p) {
                             return Area(p)
                                 .Str("pathdef", p.DefaultPath)
                                 .Int("screen", p.Screen)
                                 .Str("hint", p.Hint)
                                 .Done();
                           })},
      {"clip", Json::Array(d.Clip,
                           [](const RClip& c) {
                             return Area(c)
                                 .Int("bgcolor", c.BackgroundColour)
                                 .Int("html", c.HtmlNumber)
                                 .Int("screen", c.Screen)
                                 .Done();
                           })},
      {"text", Json::Array(d.Text,
                           [](const RText& t) {
                             return Json()
                                 .Int("vx", t.Left)
                                 .Int("vy", t.Top)
                                 .Int("vw", t.Right)
                                 .Str("font", t.FontName)
                                 .Int("size", t.Size)
                                 .Str("style", t.Style)
                                 .Int("color", t.Colour)
                                 .Str("value", t.Value)
                                 .Str("ident", t.Ident)
                                 .Int("number", t.Number)
                                 .Int("screen", t.Screen)
                                 .Done();
                           })},
      {"image", Json::Array(d.Image,
                            [](const RImage& i) {
                              return Area(i).Str("dir", i.Folder).Int("screen", i.Screen).Done();
                            })},
  };
  std::string out = "{";
  for (size_t i = 0; i < std::size(fields); ++i) {
    out += std::string(i ? ",\n " : "\n ") + JsonString(fields[i].first) + ": " + fields[i].second;
  }
  return out + "\n}\n";
}

}  // namespace

int StructDump(Args& args) {
  const auto exeDirOption = args.Option("--exe-dir");
  const auto thesaurus = args.Option("--thesaurus");
  const auto words = args.Positional(1);
  const BookFiles book(words[0]);
  const auto toCp1251 = [](const std::string& utf8) {
    const auto text = platform::Utf8ToCp1251(utf8);
    if (!text) throw InputError{utf8 + ": cannot be written in Windows-1251"};
    return *text;
  };
  const std::string exeDir = exeDirOption
                                 ? platform::IncludeTrailingBackslash(toCp1251(*exeDirOption))
                                 : book.Globals().ExeDir;
  const std::string driveRoot = core::DriveRootOf(exeDir);
  const char* entry = thesaurus ? "Tesaurus.cfs" : "Struct.cfs";
  const TDescription d = thesaurus ? ReadThesaurusDescription(book.DescriptionLines(entry), exeDir,
                                                              driveRoot, toCp1251(*thesaurus))
                                   : book.ReadStruct(exeDir);
  std::fputs(DescriptionJson(d).c_str(), stdout);
  for (const DescriptionError& e : d.Errors) {
    std::fprintf(stderr, "quire-pack: %s: %s:%zu: %s\n", words[0].c_str(), entry, e.Line,
                 e.Message.c_str());
  }
  return d.Errors.empty() ? 0 : 1;
}

}  // namespace quire::authoring
