// The records that element declarations fill, and the description of a whole book window.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/description_reader.h"

namespace quire::core {

using TDynamicStringArray = std::vector<std::string>;

struct RBtn {
  std::int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;  // right/bottom from the picture
  std::string Align;                                      // only in the skinned dialog
  std::string NormalPicture;                              // pack entries
  std::string HoverPicture;
  std::string PressedPicture;
  std::string Command;  // not path-resolved
  std::string Hint;
  std::string Sound;  // wave file relative to ExeDir, or "no"
};

// Pictures of a switch: off, off with hover, on with hover, on.
using SwitchPictures = std::array<std::string, 4>;

struct RSwthOne {
  std::int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
  SwitchPictures Pictures;
  bool Store = false;
  std::string UpCommand;    // resolved
  std::string DownCommand;  // resolved
  std::string Hint;
  std::string Sound;
  bool Hover = false;
  bool State = false;
};

struct RSwthGrp {
  std::int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
  SwitchPictures Pictures;
  bool Store = false;
  std::int32_t Group = 0;
  std::string Command;  // resolved
  std::string Hint;
  std::string Sound;
  bool Hover = false;
  bool State = false;
};

// In every area record Right and Bottom are edges, not a width and a height.
struct RHTML {
  std::int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
  std::string StartDocument;
  std::int32_t Number = 0;
  std::int32_t Screen = 0;
};

struct RFindTxt {
  std::int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
  std::string Frame;
  TDynamicStringArray ExcludedFiles;
  std::int32_t Number = 0;
  std::int32_t Screen = 0;
  std::string Hint;
};

struct RPathInput {
  std::int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
  std::string DefaultPath;
  std::int32_t Screen = 0;
  std::string Hint;
};

struct RClip {
  std::int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
  std::int32_t BackgroundColour = 0;
  std::int32_t HtmlNumber = 0;
  std::int32_t Screen = 0;
};

struct RText {
  std::int32_t Left = 0, Top = 0, Right = 0;
  std::string FontName;
  std::int32_t Size = 0;
  std::string Style;
  std::int32_t Colour = 0;
  std::string Value;
  std::int32_t Number = 0;
  std::int32_t Screen = 0;
  std::string Ident;
};

struct RImage {
  std::int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
  std::string Folder;  // with a trailing backslash
  std::int32_t Screen = 0;
};

struct RPopupData {
  std::int32_t BackgroundLeft = 0, BackgroundTop = 0;
  std::string BackgroundPicture;
  std::int32_t ItemsLeft = 0, ItemsTop = 0;
  TDynamicStringArray ItemPicturesNormal, ItemPicturesHover, ItemPicturesPressed;
  std::array<std::string, 2> FontNames;  // [normal, hover]
  std::array<std::int32_t, 2> FontSizes{};
  std::array<std::string, 2> FontStyles;
  std::array<std::int32_t, 2> FontColours{};
  TDynamicStringArray Captions;
  TDynamicStringArray Commands;
  std::string Parent;
  std::int32_t Type = 0;  // -1 back, -2 forward, -3 favourites, -5 page menu, >0 free menus
  TDynamicStringArray Vertex;
};

using TDynamicBtnArray = std::vector<RBtn>;
using TDynamicSwthOneArray = std::vector<RSwthOne>;
using TDynamicSwthGrpArray = std::vector<RSwthGrp>;
using TPopupData = std::vector<RPopupData>;
using TDynamicHtmlArray = std::vector<RHTML>;
using TDynamicFindTxtArray = std::vector<RFindTxt>;
using TDynamicPathInputArray = std::vector<RPathInput>;
using TDynamicClipArray = std::vector<RClip>;
using TDynamicTextArray = std::vector<RText>;
using TDynamicImageArray = std::vector<RImage>;

// The declarations of one screen.
struct TScreenDecl {
  std::string Background;  // pack entry; empty without a "_screen" line
  TDynamicBtnArray Buttons;
  TDynamicSwthOneArray SwitchOne;
  TDynamicSwthGrpArray SwitchGrp;
  TPopupData Popups;
};

struct THelpWin {
  std::int32_t Width = 0, Height = 0;
  std::string File;
};

// Everything a description file declares.
struct TDescription {
  // Header.
  std::string AppTitle;
  std::string Codec;
  std::string Rolic;
  std::string ClipBackground;  // the start clip's background mode
  std::string Icon;
  std::optional<THelpWin> HelpWin;
  TDynamicStringArray BgSoundDef;
  std::vector<TPoint> VertexMain;
  std::optional<RBtn> Minimize;  // the window buttons every "_screen" receives
  std::optional<RBtn> Close;
  // The header scan stopped at a point that is not two integers; start-up cannot go on.
  bool HeaderFailed = false;

  // Declarations.
  std::vector<TScreenDecl> Screens;
  TDynamicHtmlArray Html;
  TDynamicFindTxtArray FindTxt;
  TDynamicPathInputArray PathInput;
  TDynamicClipArray Clip;
  TDynamicTextArray Text;
  TDynamicImageArray Image;

  std::vector<DescriptionError> Errors;
};

inline constexpr size_t kMaxVertexMainPoints = 2000;
inline constexpr int kMaxScreens = 256;

// Reads a book window's description (lines already lower-cased): the header scan, then the
// declaration scan. Paths resolve against `exeDir` and "<cd>" against `driveRoot`.
TDescription ReadStructDescription(const Lines& lines, const std::string& exeDir,
                                   const std::string& driveRoot);

// Reads the thesaurus window's description: a smaller vocabulary, the fixed title
// "Тезаурус", and `document` (resolved) as every HTML area's file.
TDescription ReadThesaurusDescription(const Lines& lines, const std::string& exeDir,
                                      const std::string& driveRoot, const std::string& document);

}  // namespace quire::core
