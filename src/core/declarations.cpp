#include "core/declarations.h"

#include <cstring>
#include <functional>

#include "platform/paths.h"
#include "platform/text.h"

namespace quire::core {

namespace {

// One key of a declaration and how its value goes into record R.
template <class R>
struct Key {
  const char* name;
  std::function<void(DescriptionReader&, size_t at, R&)> read;
};

// Where a word value starts: one separator character after the key.
size_t After(const char* key, size_t at) {
  return at + std::strlen(key) + 1;
}

template <class R>
Key<R> Number(const char* key, std::int32_t R::*field) {
  return {key, [field](DescriptionReader& r, size_t at, R& rec) { rec.*field = r.Number(at); }};
}
template <class R>
Key<R> Word(const char* key, std::string R::*field) {
  return {key, [key, field](DescriptionReader& r, size_t at, R& rec) {
            rec.*field = r.Word(After(key, at));
          }};
}
template <class R>
Key<R> Path(const char* key, std::string R::*field) {
  return {key, [key, field](DescriptionReader& r, size_t at, R& rec) {
            rec.*field = r.Path(After(key, at));
          }};
}
template <class R>
Key<R> OnOff(const char* key, bool R::*field) {
  return {key, [key, field](DescriptionReader& r, size_t at, R& rec) {
            rec.*field = r.Word(After(key, at)) == "on";
          }};
}
template <class R>
Key<R> Colour(const char* key, std::int32_t R::*field) {
  return {key, [key, field](DescriptionReader& r, size_t at, R& rec) {
            rec.*field = r.Colour(After(key, at));
          }};
}
template <class R>
Key<R> List(const char* key, TDynamicStringArray R::*field) {
  return {key, [field](DescriptionReader& r, size_t, R& rec) { rec.*field = r.List(); }};
}
// Reads the keys in order from the cursor on; false when the file ends before one of them.
template <class R>
bool ReadKeys(DescriptionReader& r, R& record, const std::vector<Key<R>>& keys) {
  for (const Key<R>& key : keys) {
    const auto at = r.FindKey(key.name);
    if (!at) return false;
    key.read(r, *at, record);
  }
  return true;
}

template <class R>
Key<R> Picture(const char* key, size_t index) {
  return {key, [key, index](DescriptionReader& r, size_t at, R& rec) {
            rec.Pictures[index] = r.Word(After(key, at));
          }};
}

const std::vector<Key<RBtn>>& ButtonKeys() {
  static const std::vector<Key<RBtn>> keys{
      Number("vx", &RBtn::Left),          Number("vy", &RBtn::Top),
      Word("fn1", &RBtn::NormalPicture),  Word("fn2", &RBtn::HoverPicture),
      Word("fn3", &RBtn::PressedPicture), Word("go", &RBtn::Command),
      Word("hint", &RBtn::Hint),          Word("wav", &RBtn::Sound)};
  return keys;
}

// The window buttons' keys: a button's without "go".
const std::vector<Key<RBtn>>& WindowButtonKeys() {
  static const std::vector<Key<RBtn>> keys{
      Number("vx", &RBtn::Left),          Number("vy", &RBtn::Top),
      Word("fn1", &RBtn::NormalPicture),  Word("fn2", &RBtn::HoverPicture),
      Word("fn3", &RBtn::PressedPicture), Word("hint", &RBtn::Hint),
      Word("wav", &RBtn::Sound)};
  return keys;
}

template <class S>
std::vector<Key<S>> SwitchKeys(std::vector<Key<S>> commands) {
  std::vector<Key<S>> keys{Number("vx", &S::Left),    Number("vy", &S::Top),
                           Picture<S>("fn1", 0),      Picture<S>("fn2", 1),
                           Picture<S>("fn3", 2),      Picture<S>("fn4", 3),
                           OnOff("state", &S::State), OnOff("store", &S::Store)};
  keys.insert(keys.end(), commands.begin(), commands.end());
  keys.push_back(Word("hint", &S::Hint));
  keys.push_back(Word("wav", &S::Sound));
  return keys;
}

template <class A>
std::vector<Key<A>> AreaKeys() {
  return {Number("vx", &A::Left), Number("vy", &A::Top), Number("vw", &A::Right),
          Number("vh", &A::Bottom)};
}

template <class A>
std::vector<Key<A>> With(std::vector<Key<A>> keys, std::vector<Key<A>> more) {
  keys.insert(keys.end(), more.begin(), more.end());
  return keys;
}

Key<RPopupData> PopupType() {
  return {"type", [](DescriptionReader& r, size_t at, RPopupData& rec) {
            const std::string word = r.Word(After("type", at));
            struct Named {
              const char* word;
              std::int32_t type;
            };
            for (const Named n : {Named{"historyback", -1}, Named{"historyforward", -2},
                                  Named{"favorite", -3}, Named{"contexthtml", -5}}) {
              if (platform::SameText(word, n.word)) {
                rec.Type = n.type;
                return;
              }
            }
            rec.Type = r.Number(at);
          }};
}

// Reads one header item that has sub-keys (the cursor moves with them).
void ReadWindowButton(DescriptionReader& r, std::optional<RBtn>& button, const char* command) {
  RBtn read;
  ReadKeys(r, read, WindowButtonKeys());
  read.Command = command;
  button = read;
}

class DescriptionScanner {
 public:
  DescriptionScanner(const Lines& lines, const std::string& exeDir, const std::string& driveRoot,
                     TDescription& out)
      : r_(lines, exeDir, driveRoot), out_(out) {}

  // The header keys, tested on every line in this order; a later occurrence overrides.
  void ScanHeader(bool thesaurus) {
    for (r_.SetCursor(0); !r_.AtEnd(); r_.SetCursor(r_.Cursor() + 1)) {
      if (!HeaderLine(thesaurus)) return;
    }
  }

  // The declarations, each starting on a line holding its keyword.
  void ScanDeclarations(const std::vector<const char*>& keywords) {
    for (r_.SetCursor(0); !r_.AtEnd(); r_.SetCursor(r_.Cursor() + 1)) {
      for (const char* keyword : keywords) {
        if (r_.Line().find(keyword) == std::string::npos) continue;
        Declaration(keyword);
        break;
      }
    }
  }

  void Finish() { out_.Errors = r_.Errors(); }
  std::string ThesaurusDocument;  // set for the thesaurus window

 private:
  // False when the scan must stop.
  bool HeaderLine(bool thesaurus) {
    const auto found = [&](const char* key) -> std::optional<size_t> {
      if (r_.AtEnd()) return std::nullopt;
      const std::string line = thesaurus ? platform::AsciiLower(r_.Line()) : r_.Line();
      const size_t at = line.find(key);
      return at == std::string::npos ? std::nullopt : std::optional(at);
    };
    if (auto at = found("title")) {
      out_.AppTitle = r_.Word(After("title", *at));
      if (!out_.AppTitle.empty()) out_.AppTitle[0] = platform::AnsiUpperChar(out_.AppTitle[0]);
    }
    if (!thesaurus) {
      if (auto at = found("codec")) out_.Codec = r_.Word(After("codec", *at));
      if (auto at = found("rolic")) out_.Rolic = r_.Word(After("rolic", *at));
      if (found("helpwin")) {
        THelpWin help;
        if (auto vw = r_.FindKey("vw")) help.Width = r_.Number(*vw);
        if (auto vh = r_.FindKey("vh")) help.Height = r_.Number(*vh);
        if (auto fn = r_.FindKey("fn")) help.File = r_.Path(After("fn", *fn));
        out_.HelpWin = help;
      }
      if (auto at = found("background")) out_.ClipBackground = r_.Word(After("background", *at));
    }
    if (auto at = found("icon")) out_.Icon = r_.Word(After("icon", *at));
    if (!thesaurus) {
      if (found("bgsounddef")) out_.BgSoundDef = r_.List();
      if (found("vertexmain")) {
        auto points = r_.Points(kMaxVertexMainPoints);
        if (!points) {
          out_.HeaderFailed = true;
          return false;
        }
        out_.VertexMain = std::move(*points);
      }
    }
    if (found("minimize")) ReadWindowButton(r_, out_.Minimize, "minimize");
    if (found("close")) ReadWindowButton(r_, out_.Close, "exit");
    return true;
  }

  // The screen index of the declaration on the cursor line, or -1 when it has none usable.
  int ScreenIndex() {
    const std::int32_t number = ReadNumber(r_.Line(), 0);
    if (number < 1 || number > kMaxScreens) {
      r_.Error("a declaration needs a screen number from 1 to " + std::to_string(kMaxScreens));
      return -1;
    }
    return number - 1;
  }

  // The per-screen lists reach `screen`; flat declarations do not make them grow.
  TScreenDecl& Screen(int screen) {
    if (static_cast<size_t>(screen) >= out_.Screens.size()) out_.Screens.resize(screen + 1);
    return out_.Screens[screen];
  }

  template <class R>
  void PerScreen(std::vector<R> TScreenDecl::*list, const std::vector<Key<R>>& keys, int screen) {
    // A declaration cut short by the end of the file keeps what was read.
    R record;
    ReadKeys(r_, record, keys);
    (Screen(screen).*list).push_back(std::move(record));
  }

  template <class R>
  void Flat(std::vector<R>& list, const std::vector<Key<R>>& keys, int screen) {
    R record;
    record.Screen = screen;
    ReadKeys(r_, record, keys);
    list.push_back(std::move(record));
  }

  void Declaration(std::string_view keyword) {
    const int screen = ScreenIndex();
    if (screen < 0) return;
    if (keyword == "button") {
      PerScreen(&TScreenDecl::Buttons, ButtonKeys(), screen);
    } else if (keyword == "switchone") {
      static const auto keys = SwitchKeys<RSwthOne>(
          {Path("goup", &RSwthOne::UpCommand), Path("godown", &RSwthOne::DownCommand)});
      PerScreen(&TScreenDecl::SwitchOne, keys, screen);
    } else if (keyword == "switchgrp") {
      static const auto keys =
          SwitchKeys<RSwthGrp>({Number("group", &RSwthGrp::Group), Path("go", &RSwthGrp::Command)});
      PerScreen(&TScreenDecl::SwitchGrp, keys, screen);
    } else if (keyword == "_html") {
      static const auto keys = With(
          AreaKeys<RHTML>(), {Path("fn", &RHTML::StartDocument), Number("number", &RHTML::Number)});
      Flat(out_.Html, keys, screen);
      if (!ThesaurusDocument.empty())
        out_.Html.back().StartDocument = r_.Resolve(ThesaurusDocument);
    } else if (keyword == "_findtxt") {
      static const auto keys =
          With(AreaKeys<RFindTxt>(),
               {Word("frame", &RFindTxt::Frame), List("nofiles", &RFindTxt::ExcludedFiles),
                Number("number", &RFindTxt::Number), Word("hint", &RFindTxt::Hint)});
      Flat(out_.FindTxt, keys, screen);
    } else if (keyword == "_path") {
      static const auto keys =
          With(AreaKeys<RPathInput>(),
               {Word("pathdef", &RPathInput::DefaultPath), Word("hint", &RPathInput::Hint)});
      Flat(out_.PathInput, keys, screen);
    } else if (keyword == "_clip") {
      static const auto keys = With(AreaKeys<RClip>(), {Colour("bgcolor", &RClip::BackgroundColour),
                                                        Number("html", &RClip::HtmlNumber)});
      Flat(out_.Clip, keys, screen);
    } else if (keyword == "_text") {
      static const std::vector<Key<RText>> keys{
          Number("vx", &RText::Left),      Number("vy", &RText::Top),
          Number("vw", &RText::Right),     Word("font", &RText::FontName),
          Number("size", &RText::Size),    Word("style", &RText::Style),
          Colour("color", &RText::Colour), Word("value", &RText::Value),
          Word("ident", &RText::Ident),    Number("number", &RText::Number)};
      Flat(out_.Text, keys, screen);
    } else if (keyword == "_image") {
      static const auto keys = With(AreaKeys<RImage>(), {Path("dir", &RImage::Folder)});
      Flat(out_.Image, keys, screen);
      out_.Image.back().Folder = platform::IncludeTrailingBackslash(out_.Image.back().Folder);
    } else if (keyword == "_popup") {
      PerScreen(&TScreenDecl::Popups, PopupKeys(), screen);
    } else if (keyword == "_screen") {
      ScreenLine(screen);
    }
  }

  static const std::vector<Key<RPopupData>>& PopupKeys() {
    using P = RPopupData;
    const auto font = [](const char* key, size_t i) {
      return Key<P>{key, [key, i](DescriptionReader& r, size_t at, P& rec) {
                      rec.FontNames[i] = r.Word(After(key, at));
                    }};
    };
    const auto size = [](const char* key, size_t i) {
      return Key<P>{
          key, [i](DescriptionReader& r, size_t at, P& rec) { rec.FontSizes[i] = r.Number(at); }};
    };
    const auto style = [](const char* key, size_t i) {
      return Key<P>{key, [key, i](DescriptionReader& r, size_t at, P& rec) {
                      rec.FontStyles[i] = r.Word(After(key, at));
                    }};
    };
    const auto colour = [](const char* key, size_t i) {
      return Key<P>{key, [key, i](DescriptionReader& r, size_t at, P& rec) {
                      rec.FontColours[i] = r.Colour(After(key, at));
                    }};
    };
    static const std::vector<Key<P>> keys{Number("xfon", &P::BackgroundLeft),
                                          Number("yfon", &P::BackgroundTop),
                                          Word("fnfon", &P::BackgroundPicture),
                                          Number("xbtn", &P::ItemsLeft),
                                          Number("ybtn", &P::ItemsTop),
                                          List("fnbtnup", &P::ItemPicturesNormal),
                                          List("fnbtnmove", &P::ItemPicturesHover),
                                          List("fnbtndown", &P::ItemPicturesPressed),
                                          font("fontup", 0),
                                          size("sizeup", 0),
                                          style("styleup", 0),
                                          colour("colorup", 0),
                                          font("fontmv", 1),
                                          size("sizemv", 1),
                                          style("stylemv", 1),
                                          colour("colormv", 1),
                                          List("caption", &P::Captions),
                                          List("go", &P::Commands),
                                          Word("parent", &P::Parent),
                                          PopupType(),
                                          List("vertex", &P::Vertex)};
    return keys;
  }

  // "_screen": the window buttons join the screen's buttons, and the background is named.
  // A window button the header does not declare is left out: an empty one would take the
  // picture read before it and cover the screen.
  void ScreenLine(int screen) {
    TScreenDecl& decl = Screen(screen);
    if (out_.Minimize) decl.Buttons.push_back(*out_.Minimize);
    if (out_.Close) decl.Buttons.push_back(*out_.Close);
    const size_t at = r_.Line().find("screen");
    decl.Background = r_.Word(at + 7);
  }

  DescriptionReader r_;
  TDescription& out_;
};

}  // namespace

TDescription ReadStructDescription(const Lines& lines, const std::string& exeDir,
                                   const std::string& driveRoot) {
  TDescription out;
  DescriptionScanner scanner(lines, exeDir, driveRoot, out);
  scanner.ScanHeader(false);
  if (!out.HeaderFailed) {
    scanner.ScanDeclarations({"button", "switchone", "switchgrp", "_html", "_findtxt", "_path",
                              "_clip", "_text", "_image", "_popup", "_screen"});
  }
  scanner.Finish();
  return out;
}

TDescription ReadThesaurusDescription(const Lines& lines, const std::string& exeDir,
                                      const std::string& driveRoot, const std::string& document) {
  TDescription out;
  DescriptionScanner scanner(lines, exeDir, driveRoot, out);
  scanner.ThesaurusDocument = document;
  scanner.ScanHeader(true);
  out.AppTitle = *platform::Utf8ToCp1251("Тезаурус");
  scanner.ScanDeclarations({"button", "_html", "_findtxt", "_text", "_screen"});
  scanner.Finish();
  return out;
}

}  // namespace quire::core
