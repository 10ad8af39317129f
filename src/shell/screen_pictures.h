// The pictures of the current screen's controls, read from the resource pack, and the screen
// bitmap: the background with the first picture of every control baked in.
#pragma once

#include <QImage>
#include <array>
#include <string>
#include <vector>

#include "core/declarations.h"
#include "storage/read_bin.h"

namespace quire::shell {

struct RBtnPic {
  QImage Normal, Hover, Pressed;
  bool Spare = false;
  bool IsHover = false;
  bool IsPressed = false;
};

struct RSwthPic {
  std::array<QImage, 4> Pictures;  // off, off with hover, on with hover, on
};

using TDynamicBtnPicArray = std::vector<RBtnPic>;
using TDynamicSwthOnePicArray = std::vector<RSwthPic>;
using TDynamicSwthGrpPicArray = std::vector<RSwthPic>;

// Reads pack pictures through one memory stream that is kept between reads: a missing entry
// decodes the bytes of the picture read before it, and bytes that do not decode leave the
// target as it was.
class PictureReader {
 public:
  explicit PictureReader(const storage::TReadBin& pack) : pack_(pack) {}
  void Read(const std::string& name, QImage& into);

 private:
  const storage::TReadBin& pack_;
  std::string stream_;
};

// The pictures of one screen's controls.
struct ScreenPictures {
  TDynamicBtnPicArray Buttons;
  TDynamicSwthOnePicArray SwitchOne;
  TDynamicSwthGrpPicArray SwitchGrp;
};

// Loads the pictures of `screen` into `pictures` (slots reused, surplus ones dropped) and sets
// each control's right and bottom edge from its first picture.
void LoadScreenPictures(PictureReader& reader, core::TScreenDecl& screen, ScreenPictures& pictures);

// Draws the first picture of every control of `screen` into `bitmap` at its rectangle.
void BakeControls(const core::TScreenDecl& screen, const ScreenPictures& pictures, QImage& bitmap);

// Copies `picture` onto `target` at the control's rectangle, as large as the rectangle.
template <class Control>
void CopyAt(const Control& control, const QImage& picture, class QPainter& target);

}  // namespace quire::shell
