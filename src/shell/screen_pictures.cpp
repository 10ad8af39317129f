#include "shell/screen_pictures.h"

#include <QPainter>

namespace quire::shell {

void PictureReader::Read(const std::string& name, QImage& into) {
  std::string bytes;
  if (pack_.ReadToBuffer(name, bytes) >= 0) stream_ = std::move(bytes);
  QImage picture;
  if (picture.loadFromData(reinterpret_cast<const uchar*>(stream_.data()),
                           static_cast<int>(stream_.size()))) {
    into = picture.convertToFormat(QImage::Format_RGB32);
  }
}

namespace {

template <class Control>
void SizeFrom(Control& control, const QImage& first) {
  control.Right = control.Left + first.width();
  control.Bottom = control.Top + first.height();
}

template <class Switch>
void LoadSwitches(PictureReader& reader, std::vector<Switch>& switches,
                  std::vector<RSwthPic>& pictures) {
  pictures.resize(switches.size());
  for (size_t i = 0; i < switches.size(); ++i) {
    for (size_t k = 0; k < 4; ++k) reader.Read(switches[i].Pictures[k], pictures[i].Pictures[k]);
    SizeFrom(switches[i], pictures[i].Pictures[0]);
  }
}

}  // namespace

void LoadScreenPictures(PictureReader& reader, core::TScreenDecl& screen,
                        ScreenPictures& pictures) {
  pictures.Buttons.resize(screen.Buttons.size());
  for (size_t i = 0; i < screen.Buttons.size(); ++i) {
    core::RBtn& button = screen.Buttons[i];
    RBtnPic& pic = pictures.Buttons[i];
    reader.Read(button.NormalPicture, pic.Normal);
    SizeFrom(button, pic.Normal);
    reader.Read(button.HoverPicture, pic.Hover);
    reader.Read(button.PressedPicture, pic.Pressed);
  }
  LoadSwitches(reader, screen.SwitchOne, pictures.SwitchOne);
  LoadSwitches(reader, screen.SwitchGrp, pictures.SwitchGrp);
}

template <class Control>
void CopyAt(const Control& control, const QImage& picture, QPainter& target) {
  target.drawImage(QPoint(control.Left, control.Top), picture,
                   QRect(0, 0, control.Right - control.Left, control.Bottom - control.Top));
}
template void CopyAt(const core::RBtn&, const QImage&, QPainter&);
template void CopyAt(const core::RSwthOne&, const QImage&, QPainter&);
template void CopyAt(const core::RSwthGrp&, const QImage&, QPainter&);

void BakeControls(const core::TScreenDecl& screen, const ScreenPictures& pictures, QImage& bitmap) {
  if (bitmap.isNull()) return;
  QPainter painter(&bitmap);
  for (size_t i = 0; i < screen.Buttons.size(); ++i) {
    CopyAt(screen.Buttons[i], pictures.Buttons[i].Normal, painter);
  }
  for (size_t i = 0; i < screen.SwitchOne.size(); ++i) {
    CopyAt(screen.SwitchOne[i], pictures.SwitchOne[i].Pictures[0], painter);
  }
  for (size_t i = 0; i < screen.SwitchGrp.size(); ++i) {
    CopyAt(screen.SwitchGrp[i], pictures.SwitchGrp[i].Pictures[0], painter);
  }
}

}  // namespace quire::shell
