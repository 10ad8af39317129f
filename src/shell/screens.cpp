// Screens and their picture controls: building a screen, switching screens, and the pointer.
#include <QApplication>
#include <QWindow>

#include "platform/text.h"
#include "shell/main_form.h"

namespace quire::shell {

namespace {

template <class Control>
bool Inside(const Control& c, int x, int y) {
  return c.Left < x && x < c.Right && c.Top < y && y < c.Bottom;
}

template <class Control>
QRect Bounds(const Control& c) {
  return QRect(c.Left, c.Top, c.Right - c.Left, c.Bottom - c.Top);
}

template <class Switch>
bool IsTreeTwoSwitch(const Switch& s) {
  return platform::SameText(s.UpCommand, "tree2") || platform::SameText(s.DownCommand, "tree2");
}

constexpr int kButtonStep = 4;
constexpr int kContextMenuButtonStep = 3;
constexpr int kSwitchStep = 4;

}  // namespace

void TMainForm::SizeControlLists(size_t buttons, size_t ones, size_t groups) {
  const auto size = [this](auto& hints, auto& effects, size_t count) {
    while (hints.size() > count) hints.pop_back();
    while (effects.size() > count) effects.pop_back();
    for (auto& effect : effects) effect->Cancel();  // nothing of the last screen lingers
    while (hints.size() < count) hints.push_back(std::make_unique<TMyControl>(this, *this));
    while (effects.size() < count) {
      effects.push_back(
          std::make_unique<dialogs::TEffBtnCar>(*this, static_cast<int>(effects.size())));
    }
  };
  size(buttonHints_, buttonEffects_, buttons);
  size(switchOneHints_, switchOneEffects_, ones);
  size(switchGrpHints_, switchGrpEffects_, groups);
}

template <class Switch>
void TMainForm::PlaceSwitchControls(std::vector<Switch>& switches, std::vector<RSwthPic>&,
                                    std::vector<std::unique_ptr<TMyControl>>& hints,
                                    std::vector<std::unique_ptr<dialogs::TEffBtnCar>>& effects) {
  for (size_t i = 0; i < switches.size(); ++i) {
    hints[i]->Place(Bounds(switches[i]), platform::ToQString(switches[i].Hint));
    effects[i]->SetStep(kSwitchStep);
  }
}

void TMainForm::BuildScreenControls() {
  if (g_.Description.Screens.empty()) return;
  core::TScreenDecl& screen = Screen();
  SizeControlLists(screen.Buttons.size(), screen.SwitchOne.size(), screen.SwitchGrp.size());
  LoadScreenPictures(*pictureReader_, screen, pictures_);
  for (size_t i = 0; i < screen.Buttons.size(); ++i) {
    const core::RBtn& button = screen.Buttons[i];
    buttonHints_[i]->Place(Bounds(button), platform::ToQString(button.Hint));
    const bool menu = platform::AsciiLower(button.Command).find("contextmenu") != std::string::npos;
    buttonEffects_[i]->SetStep(menu ? kContextMenuButtonStep : kButtonStep);
  }
  PlaceSwitchControls(screen.SwitchOne, pictures_.SwitchOne, switchOneHints_, switchOneEffects_);
  PlaceSwitchControls(screen.SwitchGrp, pictures_.SwitchGrp, switchGrpHints_, switchGrpEffects_);
  BakeControls(screen, pictures_, screenBitmap_);
}

void TMainForm::ShowScreen(int index, int kind, int source) {
  if (index < 0 || static_cast<size_t>(index) >= g_.Description.Screens.size()) return;
  core::TScreenDecl& old = Screen();
  if (kind == 1 && static_cast<size_t>(source) < old.SwitchOne.size()) {
    old.SwitchOne[source].Hover = false;
  } else if (kind == 2 && static_cast<size_t>(source) < old.SwitchGrp.size()) {
    old.SwitchGrp[source].Hover = false;
  } else if (kind == 0 && static_cast<size_t>(source) < pictures_.Buttons.size()) {
    pictures_.Buttons[source].IsHover = pictures_.Buttons[source].IsPressed = false;
    pictures_.Buttons[source].Spare = false;
    buttonEffects_[source]->Cancel();
  }
  g_.CurrentScreen = index;
  ++screenGeneration_;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  pictureReader_->Read(Screen().Background, screenBitmap_);
  for (RBtnPic& pic : pictures_.Buttons) pic.IsHover = pic.IsPressed = false;
  BuildScreenControls();
  if (index == 1 && g_.Panel3D) g_.Panel3D->SetActive(false);
  NotifyScreenElements();
  ReplaySwitches(true);
  if (index == 0 && (!g_.Panel3D || !g_.Panel3D->Active()) && isVisible()) fade_->Start();
  repaint();
  QApplication::restoreOverrideCursor();
}

void TMainForm::NotifyScreenElements() {
  if (g_.SearchBoxes) g_.SearchBoxes->ScreenShown();
  if (g_.PathInputBox) g_.PathInputBox->ScreenShown();
  if (g_.ClipPlayer) g_.ClipPlayer->ScreenShown();
  if (g_.PictureAreas) g_.PictureAreas->ScreenShown();
  if (g_.PopupControl) g_.PopupControl->ScreenShown();
  if (g_.ScaleBar) g_.ScaleBar->ScreenShown();
  if (gifAnimator_ && gifMovie_) gifAnimator_->setVisible(g_.CurrentScreen != 1);
  if (g_.HtmlFrame) g_.HtmlFrame->ScreenShown();
  for (core::ITreeView* tree : g_.Trees) {
    if (tree) tree->ScreenShown();
  }
  // The contents trees show the background panel on the reading screen; without them it is
  // shown there and nowhere else.
  if (!g_.Trees[0] && !g_.Trees[1] && panel_) panel_->setVisible(g_.CurrentScreen == 1);
}

// Neither contents tree is shown (an absent tree is not shown).
bool TMainForm::TreesHidden() const {
  return !(g_.Trees[0] && g_.Trees[0]->IsVisible()) && !(g_.Trees[1] && g_.Trees[1]->IsVisible());
}

void TMainForm::FormMouseMove(Qt::KeyboardModifiers, int x, int y) {
  if (FadeRunning() || g_.Description.Screens.empty()) return;
  core::TScreenDecl& screen = Screen();
  for (size_t i = 0; i < screen.Buttons.size(); ++i) {
    const core::RBtn& b = screen.Buttons[i];
    RBtnPic& pic = pictures_.Buttons[i];
    const bool inside = Inside(b, x, y);
    if (inside && !pic.IsHover) {
      buttonEffects_[i]->Start(pic.Normal, pic.Hover, {b.Left, b.Top});
      pic.IsHover = true;
    } else if (!inside && pic.IsHover) {
      buttonEffects_[i]->Start(pic.Hover, pic.Normal, {b.Left, b.Top});
      pic.IsHover = pic.IsPressed = false;
    }
  }
  const bool treesHidden = TreesHidden();
  for (size_t i = 0; i < screen.SwitchOne.size(); ++i) {
    core::RSwthOne& s = screen.SwitchOne[i];
    const auto& p = pictures_.SwitchOne[i].Pictures;
    const bool inside = Inside(s, x, y);
    if (inside && !s.Hover) {
      if (treesHidden && IsTreeTwoSwitch(s)) return;
      switchOneEffects_[i]->Start(s.State ? p[3] : p[0], s.State ? p[2] : p[1], {s.Left, s.Top});
      s.Hover = true;
    } else if (!inside && s.Hover) {
      switchOneEffects_[i]->Start(s.State ? p[2] : p[1], s.State ? p[3] : p[0], {s.Left, s.Top});
      s.Hover = false;
    }
  }
  for (size_t i = 0; i < screen.SwitchGrp.size(); ++i) {
    core::RSwthGrp& s = screen.SwitchGrp[i];
    const bool inside = Inside(s, x, y);
    if (inside != s.Hover) {
      s.Hover = inside;
      RepaintControl(Bounds(s));
    }
  }
}

void TMainForm::FormMouseDown(Qt::MouseButton, Qt::KeyboardModifiers shift, int x, int y) {
  if (g_.PopupControl) g_.PopupControl->HidePopup();
  if (FadeRunning() || g_.Description.Screens.empty()) return;
  core::TScreenDecl& screen = Screen();
  for (size_t i = 0; i < screen.Buttons.size(); ++i) {
    RBtnPic& pic = pictures_.Buttons[i];
    if (!Inside(screen.Buttons[i], x, y) || pic.IsPressed) continue;
    buttonEffects_[i]->Start(pic.Hover, pic.Pressed,
                             {screen.Buttons[i].Left, screen.Buttons[i].Top});
    pic.IsPressed = true;
    return;
  }
  const bool withShift = shift & Qt::ShiftModifier;
  const bool treesHidden = TreesHidden();
  for (size_t i = 0; i < screen.SwitchOne.size(); ++i) {
    core::RSwthOne& s = screen.SwitchOne[i];
    if (!Inside(s, x, y)) continue;
    if (treesHidden && IsTreeTwoSwitch(s)) return;
    const auto& p = pictures_.SwitchOne[i].Pictures;
    switchOneEffects_[i]->Start(s.State ? p[2] : p[1], s.State ? p[1] : p[2], {s.Left, s.Top});
    s.State = !s.State;
    const std::string command = s.State ? s.DownCommand : s.UpCommand;
    if (!withShift) RunCommand(command, s.Sound, false, 1, static_cast<int>(i));
    return;
  }
  for (size_t i = 0; i < screen.SwitchGrp.size(); ++i) {
    core::RSwthGrp& s = screen.SwitchGrp[i];
    if (!Inside(s, x, y)) continue;
    if (s.State) return;
    for (core::RSwthGrp& other : screen.SwitchGrp) {
      if (&other != &s && other.Group == s.Group && other.State) {
        other.State = false;
        RepaintControl(Bounds(other));
      }
    }
    s.State = true;
    RepaintControl(Bounds(s));
    if (!withShift) RunCommand(s.Command, s.Sound, false, 2, static_cast<int>(i));
    return;
  }
  // No control: the press drags the borderless window.
  if (windowHandle() && windowHandle()->startSystemMove()) return;
  dragging_ = true;
  dragOffset_ = QPoint(x, y);
}

void TMainForm::FormMouseUp(Qt::MouseButton, Qt::KeyboardModifiers shift, int x, int y) {
  if (FadeRunning() || g_.Description.Screens.empty()) return;
  const int generation = screenGeneration_;
  for (size_t i = 0; i < Screen().Buttons.size(); ++i) {
    const core::RBtn button = Screen().Buttons[i];
    if (!Inside(button, x, y)) continue;
    RBtnPic& pic = pictures_.Buttons[i];
    if (pic.IsPressed) {
      pic.IsPressed = false;
      buttonEffects_[i]->Start(pic.Pressed, pic.Hover, {button.Left, button.Top});
      RunCommand(button.Command, button.Sound, false, 0, static_cast<int>(i));
      if (generation != screenGeneration_ || g_.Description.Screens.empty()) return;
    } else {
      buttonEffects_[i]->Start(pic.Pressed, pic.Normal, {button.Left, button.Top});
    }
  }
  for (core::RSwthGrp& s : Screen().SwitchGrp) {
    if (!Inside(s, x, y)) continue;
    s.Hover = false;
    FormMouseMove(shift, x, y);
  }
}

}  // namespace quire::shell
