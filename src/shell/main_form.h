// TMainForm: the book window. It builds the whole interface from the book's description at
// start-up, shows one screen at a time with its picture controls, turns every click into a
// command, and opens and closes with its shape animations.
#pragma once

#include <QImage>
#include <QLabel>
#include <QMovie>
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "core/globals.h"
#include "dialogs/effect.h"
#include "html/html_frame.h"
#include "media/super_timer.h"
#include "platform/windows.h"
#include "shell/my_control.h"
#include "shell/panel_bkgrd.h"
#include "shell/screen_pictures.h"

namespace quire::shell {

// How the window shows warnings (message boxes in the program, recorded in tests).
using WarningSink = std::function<void(const std::string&)>;

class TMainForm : public QWidget,
                  public core::IShell,
                  public dialogs::IEffectOwner,
                  public IPointerHandler {
 public:
  // Runs the start-up of the book in `g` (whose path globals and archive are set up).
  // `warn` shows the messages of the start-up check.
  TMainForm(core::Globals& g, const std::vector<std::string>& parameters, WarningSink warn);
  ~TMainForm() override;  // saves switch states and frees everything

  // True when start-up decided that the application ends without showing a window.
  bool EndsAtOnce() const { return endsAtOnce_; }
  void ShowMainWindow();

  // The dispatcher.
  void RunCommand(const std::string& command, const std::string& sound, bool silent, int kind,
                  int index) override;
  void SetBusy(bool on) override;
  void ForwardMouseMove(int x, int y) override;
  void PressSilently(int x, int y) override;
  void SetButtonHint(std::size_t index, const std::string& hint) override;
  // The standard window's bars come with that window mode; the book window has none.
  bool HasStatusBar() const override { return false; }
  void SetStatusBarText(const std::string&) override {}
  void RefreshHistoryUi() override {}

  void ShowScreen(int index, int kind, int source);
  void CloseWithAnimation();

  // Pointer handling in window coordinates (also reached from the hint controls).
  void FormMouseMove(Qt::KeyboardModifiers shift, int x, int y) override;
  void FormMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y) override;
  void FormMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y) override;

  // What tests and the program look at.
  int ExitButtonIndex = -1;
  bool StartedWithParameters = false;
  bool HelperWindowMode = false;
  const QImage& ScreenBitmap() const { return screenBitmap_; }
  const ScreenPictures& Pictures() const { return pictures_; }
  bool AnimationRunning() const { return shapeTimer_ && shapeTimer_->Enabled(); }
  bool FadeRunning() const { return fade_ && fade_->Running(); }
  dialogs::TEffBtnCar* ButtonEffect(int index) const;
  QLabel* GifAnimator() const { return gifAnimator_; }
  TPanelBkgrd* BackgroundPanel() const { return panel_; }
  html::THtmlFrame* HtmlFrame() const { return htmlFrame_.get(); }
  const QRegion& Shape() const { return shape_; }
  // Called after each paint of the window (benchmarks measure the first one).
  std::function<void()> AfterPaint;

  // The window fade effect's owner side.
  QWidget* EffectWidget() override { return this; }
  void FadeBegins(bool begins) override { HideOverlay(begins); }
  bool MainFadeRunning() const override { return FadeRunning(); }
  void HideOverlay(bool hide);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  // Start-up (normal start); false when the application must end.
  bool FormCreate();
  bool ReadDescription();
  void LoadIcon();
  void RestoreSwitchStates();
  void SaveSwitchStates();
  void CreateGifAnimator();
  void AddBookFonts();
  // Runs the current screen's switch commands, silently; a screen switch made by one of them
  // ends the replay when `stopOnScreenSwitch`.
  void ReplaySwitches(bool stopOnScreenSwitch);
  bool TreesHidden() const;
  void FormDestroy();

  // The controls of the current screen.
  core::TScreenDecl& Screen();
  void BuildScreenControls();
  template <class Switch>
  void PlaceSwitchControls(std::vector<Switch>& switches, std::vector<RSwthPic>& pictures,
                           std::vector<std::unique_ptr<TMyControl>>& hints,
                           std::vector<std::unique_ptr<dialogs::TEffBtnCar>>& effects);
  void SizeControlLists(size_t buttons, size_t ones, size_t groups);
  void NotifyScreenElements();
  void RepaintControl(const QRect& rect);
  void SetShape(const QRegion& region);

  // The dispatcher's rows.
  bool SwitchScreenByNumber(const std::string& text, const std::string& document, int kind,
                            int index);
  void OpenPopupAtButton(int type, int index, bool rightEdge);
  void RunGame(const std::string& command);
  void DeleteGame(const std::string& command);

  core::Globals& g_;
  std::vector<std::string> parameters_;
  WarningSink warn_;
  bool endsAtOnce_ = false;

  std::unique_ptr<storage::TReadBin> pack_;
  std::unique_ptr<PictureReader> pictureReader_;
  std::unique_ptr<platform::SingleInstanceLock> instanceLock_;
  QImage screenBitmap_;
  ScreenPictures pictures_;
  std::vector<std::unique_ptr<TMyControl>> buttonHints_, switchOneHints_, switchGrpHints_;
  std::vector<std::unique_ptr<dialogs::TEffBtnCar>> buttonEffects_, switchOneEffects_,
      switchGrpEffects_;
  std::unique_ptr<dialogs::TEffCar> fade_;
  std::unique_ptr<media::TSuperTimer> shapeTimer_;
  int shapeX_ = 0, shapeY_ = 0;
  QRegion shape_;
  bool closingDone_ = false;  // the closing animation has run to its end
  TPanelBkgrd* panel_ = nullptr;
  std::unique_ptr<html::THtmlFrame> htmlFrame_;
  QLabel* gifAnimator_ = nullptr;
  std::unique_ptr<QMovie> gifMovie_;
  std::unique_ptr<QByteArray> gifBytes_;
  std::vector<int> addedFonts_;
  int screenGeneration_ = 0;  // grows with every screen switch
  QPoint dragOffset_;
  bool dragging_ = false;
};

}  // namespace quire::shell
