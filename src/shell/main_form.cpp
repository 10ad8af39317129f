#include "shell/main_form.h"

#include <QApplication>
#include <QBuffer>
#include <QCloseEvent>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QWindow>

#include "core/guard.h"
#include "media/button_sound.h"
#include "platform/text.h"
#include "storage/compr_stream.h"

namespace quire::shell {

namespace {

// Windows that belong with the book and close with it: the first of each title in the first
// group, every one of those in the second.
const char* const kFirstOfTitle[] = {"Помощь", "Тезаурус"};
const char* const kEveryOfTitle[] = {"Vorivozoduvi", "Справка: Тальвеза", "Тальвеза"};
const char* const kEnlargedPicture = "Увеличенная картинка";

std::string SwitchValueName(const char* prefix, size_t screen, size_t index) {
  return prefix + std::to_string(screen) + std::to_string(index);
}

}  // namespace

TMainForm::TMainForm(core::Globals& g, const std::vector<std::string>& parameters, WarningSink warn)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint),
      g_(g),
      parameters_(parameters),
      warn_(std::move(warn)) {
  g_.Shell = this;
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
  fade_ = std::make_unique<dialogs::TEffCar>(*this);
  StartedWithParameters = !parameters_.empty();
  core::Guarded([&] { endsAtOnce_ = !FormCreate(); });
}

TMainForm::~TMainForm() {
  core::Guarded([&] { FormDestroy(); });
  if (g_.Shell == this) g_.Shell = nullptr;
}

bool TMainForm::FormCreate() {
  // The other run modes (a file to show, the thesaurus) open windows of their own.
  if (StartedWithParameters) return false;

  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, Qt::white);
  setPalette(palette);
  if (media::CheckAuthoringLeftovers(g_, warn_)) return false;
  pack_ = std::make_unique<storage::TReadBin>(*g_.Fs);
  g_.ReadBin = pack_.get();
  if (!g_.Fs->FileExists(g_.ExeDir + "Pak.dhl")) return false;
  pack_->LoadDirectory(g_.ExeDir + "Pak.dhl");
  pictureReader_ = std::make_unique<PictureReader>(*pack_);
  if (!ReadDescription()) return false;

  instanceLock_ = platform::SingleInstanceLock::Acquire(g_.AppTitle, g_.UserPrefix);
  if (!instanceLock_) {
    StartedWithParameters = true;  // closing saves nothing
    return false;
  }
  setWindowTitle(platform::ToQString(g_.AppTitle));
  QApplication::setApplicationDisplayName(platform::ToQString(g_.AppTitle));
  LoadIcon();
  // Leaving the application hides an open popup.
  connect(qApp, &QGuiApplication::applicationStateChanged, this,
          [this](Qt::ApplicationState state) {
            core::Guarded([&] {
              if (state != Qt::ApplicationActive && g_.PopupControl) g_.PopupControl->HidePopup();
            });
          });

  g_.Settings.HasPictures = !g_.Description.Image.empty();
  core::LoadSettings(g_.Registry(), g_.AppTitle, g_.Settings);

  g_.CurrentScreen = 0;
  if (!g_.Description.Screens.empty()) {
    pictureReader_->Read(Screen().Background, screenBitmap_);
  }
  resize(screenBitmap_.isNull() ? QSize(1, 1) : screenBitmap_.size());
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    move(screen->availableGeometry().center() - rect().center());
  }
  if (!g_.Description.VertexMain.empty()) {
    std::vector<QPoint> points;
    for (const core::TPoint& p : g_.Description.VertexMain) points.emplace_back(p.X, p.Y);
    SetShape(platform::PolygonRegion(points));
  }
  BuildScreenControls();
  RestoreSwitchStates();
  panel_ = new TPanelBkgrd(this);
  htmlFrame_ = html::CreateHtmlAreas(g_, this, panel_, g_.Description.Html);
  if (htmlFrame_) g_.HtmlFrame = htmlFrame_.get();
  CreateGifAnimator();
  AddBookFonts();
  ReplaySwitches(false);
  if (g_.Description.BgSoundDef.empty()) g_.Settings.BackgroundOn = false;
  return true;
}

bool TMainForm::ReadDescription() {
  const int count = pack_->ReadToBuffer("Struct.cfs", g_.DescriptionBuffer);
  if (count < 0) return false;
  core::Lines lines;
  storage::DescrambleLines(g_.DescriptionBuffer, count, lines, true);
  g_.Description = core::ReadStructDescription(lines, g_.ExeDir, g_.DriveRoot);
  g_.AppTitle = g_.Description.AppTitle;
  // A window shape point that is no number ends start-up.
  return !g_.Description.HeaderFailed;
}

void TMainForm::LoadIcon() {
  std::string bytes;
  if (g_.Description.Icon.empty() || pack_->ReadToBuffer(g_.Description.Icon, bytes) < 0) return;
  QPixmap icon;
  if (icon.loadFromData(reinterpret_cast<const uchar*>(bytes.data()),
                        static_cast<uint>(bytes.size()))) {
    QApplication::setWindowIcon(icon);  // a picture that does not load is ignored
  }
}

void TMainForm::RestoreSwitchStates() {
  platform::RegistryDb* registry = g_.Registry();
  std::optional<platform::TRegistry> key;
  if (registry) key.emplace(*registry);
  const bool open = key && key->OpenKey(core::SettingsKey(g_.AppTitle), true);
  for (size_t s = 0; s < g_.Description.Screens.size(); ++s) {
    core::TScreenDecl& screen = g_.Description.Screens[s];
    for (size_t i = 0; i < screen.SwitchOne.size(); ++i) {
      screen.SwitchOne[i].Hover = false;
      if (!open || !screen.SwitchOne[i].Store) continue;
      if (auto on = key->ReadBool(SwitchValueName("SwOne", s, i))) screen.SwitchOne[i].State = *on;
    }
    for (size_t i = 0; i < screen.SwitchGrp.size(); ++i) {
      screen.SwitchGrp[i].Hover = false;
      if (!open || !screen.SwitchGrp[i].Store) continue;
      if (auto on = key->ReadBool(SwitchValueName("SwGrp", s, i))) screen.SwitchGrp[i].State = *on;
    }
  }
}

void TMainForm::SaveSwitchStates() {
  platform::RegistryDb* registry = g_.Registry();
  if (!registry) return;
  platform::TRegistry key(*registry);
  if (!key.OpenKey(core::SettingsKey(g_.AppTitle), true)) return;
  for (size_t s = 0; s < g_.Description.Screens.size(); ++s) {
    const core::TScreenDecl& screen = g_.Description.Screens[s];
    for (size_t i = 0; i < screen.SwitchOne.size(); ++i) {
      if (screen.SwitchOne[i].Store) {
        key.WriteBool(SwitchValueName("SwOne", s, i), screen.SwitchOne[i].State);
      }
    }
    for (size_t i = 0; i < screen.SwitchGrp.size(); ++i) {
      if (screen.SwitchGrp[i].Store) {
        key.WriteBool(SwitchValueName("SwGrp", s, i), screen.SwitchGrp[i].State);
      }
    }
  }
}

void TMainForm::CreateGifAnimator() {
  gifAnimator_ = new QLabel(this);
  gifAnimator_->move(583, 470);
  try {
    storage::TComprStream stream(g_, g_.ExeDir + "piston.gif");
    gifBytes_ = std::make_unique<QByteArray>(QByteArray::fromStdString(stream.TakeBytes()));
  } catch (const std::exception&) {
    gifAnimator_->hide();
    return;  // no picture: nothing to show
  }
  auto* buffer = new QBuffer(gifBytes_.get(), gifAnimator_);
  buffer->open(QIODevice::ReadOnly);
  gifMovie_ = std::make_unique<QMovie>(buffer, QByteArray("GIF"));
  gifAnimator_->setMovie(gifMovie_.get());
  gifMovie_->start();
  gifAnimator_->resize(gifMovie_->frameRect().size());
  gifAnimator_->setVisible(g_.CurrentScreen != 1);
}

void TMainForm::AddBookFonts() {
  for (const platform::SearchRec& rec :
       g_.Fs->FindFiles(g_.ExeDir + "*.ttf", platform::faReadOnly | platform::faArchive)) {
    const auto host = g_.Fs->ToHost(g_.ExeDir + rec.Name);
    if (!host) continue;
    const int id = QFontDatabase::addApplicationFont(QString::fromStdString(host->string()));
    if (id >= 0) addedFonts_.push_back(id);
  }
}

void TMainForm::ReplaySwitches(bool stopOnScreenSwitch) {
  if (g_.Description.Screens.empty()) return;
  // Copies: a replayed command may switch the screen and rebuild the lists.
  const std::vector<core::RSwthOne> ones = Screen().SwitchOne;
  const std::vector<core::RSwthGrp> groups = Screen().SwitchGrp;
  const int generation = screenGeneration_;
  const auto switched = [&] { return stopOnScreenSwitch && generation != screenGeneration_; };
  for (const core::RSwthOne& s : ones) {
    if (switched()) return;
    RunCommand(s.State ? s.DownCommand : s.UpCommand, "no", true, 0, 0);
  }
  for (const core::RSwthGrp& s : groups) {
    if (switched()) return;
    if (s.State) RunCommand(s.Command, "no", true, 0, 0);
  }
}

void TMainForm::ShowMainWindow() {
  g_.Settings.Animation = false;
  const QRegion declared = shape_;
  SetShape(platform::EmptyRegion());
  show();
  shapeX_ = width() / 2;
  shapeY_ = height() / 2;
  shapeTimer_ = std::make_unique<media::TSuperTimer>();
  shapeTimer_->SetInterval(1);
  shapeTimer_->OnTimer = [this, declared](media::TSuperTimer& timer) {
    if (-(width() / 2) > shapeX_) {
      timer.SetEnabled(false);
      // The declared window shape comes back once the window has opened.
      if (!declared.isEmpty()) SetShape(declared);
      return;
    }
    SetShape(platform::EllipticRegion(shapeX_, shapeY_, width() - shapeX_, height() - shapeY_));
    shapeX_ -= 4;
    shapeY_ -= 2;
  };
  shapeTimer_->SetEnabled(true);
  if (g_.Settings.BackgroundOn && g_.BackgroundMusic) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    g_.BackgroundMusic->Start();
    QApplication::restoreOverrideCursor();
  }
}

void TMainForm::SetShape(const QRegion& region) {
  shape_ = region;
  platform::SetWindowRegion(*this, region);
}

void TMainForm::closeEvent(QCloseEvent* event) {
  // Quitting at the end of the closing animation asks once more: the window closes then.
  if (g_.ThesaurusMode || StartedWithParameters || closingDone_) {
    event->accept();
    return;
  }
  event->ignore();
  core::Guarded([&] {
    if (!AnimationRunning()) CloseWithAnimation();
  });
}

void TMainForm::CloseWithAnimation() {
  using platform::WindowDirectory;
  for (const char* title : kFirstOfTitle) {
    WindowDirectory::SendClose(WindowDirectory::FindWindowByTitle(platform::Ansi(title)));
  }
  for (const char* title : kEveryOfTitle) {
    while (QWidget* window = WindowDirectory::FindWindowByTitle(platform::Ansi(title))) {
      WindowDirectory::SendClose(window);
      if (window->isVisible()) break;  // it refused; do not ask forever
    }
  }
  if (!StartedWithParameters) {
    while (QWidget* window = WindowDirectory::FindWindowByTitle(platform::Ansi(kEnlargedPicture))) {
      WindowDirectory::SendClose(window);
      if (window->isVisible()) break;
    }
  }
  shapeX_ = shapeY_ = 0;
  shapeTimer_ = std::make_unique<media::TSuperTimer>();
  shapeTimer_->SetInterval(2);
  shapeTimer_->OnTimer = [this](media::TSuperTimer& timer) {
    const int w = width(), h = height();
    if (h / 2 - 10 >= shapeY_) {
      SetShape(platform::RoundRectRegion(0, shapeY_, w, h - shapeY_, 20, 20));
      shapeY_ += 2;
    } else if (w / 2 - 10 >= shapeX_) {
      SetShape(platform::RoundRectRegion(shapeX_, shapeY_, w - shapeX_, h - shapeY_, 20, 20));
      shapeX_ += 3;
    } else if (shapeX_ <= w / 2) {
      SetShape(platform::EllipticRegion(shapeX_, shapeY_, w - shapeX_, h - shapeY_));
      shapeX_ += 1;
      shapeY_ += 1;
    } else {
      timer.SetEnabled(false);
      closingDone_ = true;
      QApplication::quit();
    }
  };
  shapeTimer_->SetEnabled(true);
}

void TMainForm::FormDestroy() {
  shapeTimer_.reset();
  if (endsAtOnce_ && !instanceLock_) return;  // nothing was built or shown
  if (ExitButtonIndex != -1 && !g_.Description.Screens.empty() &&
      static_cast<size_t>(ExitButtonIndex) < Screen().Buttons.size()) {
    media::PlayButtonSoundAndWait(g_, Screen().Buttons[ExitButtonIndex].Sound);
  }
  g_.DescriptionBuffer.clear();
  if (g_.Settings.BackgroundOn && g_.BackgroundMusic) g_.BackgroundMusic->StopWithFade();
  for (const int id : addedFonts_) QFontDatabase::removeApplicationFont(id);
  if (!StartedWithParameters) SaveSwitchStates();
  if (g_.HtmlFrame == htmlFrame_.get()) g_.HtmlFrame = nullptr;
  htmlFrame_.reset();
  if (g_.ReadBin == pack_.get()) g_.ReadBin = nullptr;
}

core::TScreenDecl& TMainForm::Screen() {
  return g_.Description.Screens.at(g_.CurrentScreen);
}

dialogs::TEffBtnCar* TMainForm::ButtonEffect(int index) const {
  return index >= 0 && static_cast<size_t>(index) < buttonEffects_.size()
             ? buttonEffects_[index].get()
             : nullptr;
}

void TMainForm::HideOverlay(bool hide) {
  if (g_.CurrentScreen == 0 && gifAnimator_ && gifMovie_) gifAnimator_->setVisible(!hide);
  if (g_.CurrentScreen == 1 && panel_) panel_->setVisible(!hide);
}

void TMainForm::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (FadeRunning()) {
    fade_->DrawFrame(painter);
    return;
  }
  painter.drawImage(0, 0, screenBitmap_);
  if (g_.Description.Screens.empty()) return;
  core::TScreenDecl& screen = Screen();
  for (size_t i = 0; i < screen.Buttons.size() && i < pictures_.Buttons.size(); ++i) {
    if (pictures_.Buttons[i].IsHover)
      CopyAt(screen.Buttons[i], pictures_.Buttons[i].Hover, painter);
  }
  const auto paintSwitches = [&](auto& switches, auto& pics) {
    for (size_t i = 0; i < switches.size() && i < pics.size(); ++i) {
      const auto& s = switches[i];
      if (!s.Hover && !s.State) continue;  // picture 1 is in the screen bitmap
      const int picture = s.Hover ? (s.State ? 2 : 1) : 3;
      CopyAt(s, pics[i].Pictures[picture], painter);
    }
  };
  paintSwitches(screen.SwitchOne, pictures_.SwitchOne);
  paintSwitches(screen.SwitchGrp, pictures_.SwitchGrp);
  for (const auto* effects : {&buttonEffects_, &switchOneEffects_}) {
    for (const auto& effect : *effects) effect->DrawFrame(painter);
  }
  if (AfterPaint) AfterPaint();
}

void TMainForm::RepaintControl(const QRect& rect) {
  update(rect);
}

void TMainForm::mouseMoveEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  core::Guarded([&] {
    if (dragging_) {
      move(event->globalPosition().toPoint() - dragOffset_);
      return;
    }
    FormMouseMove(event->modifiers(), p.x(), p.y());
  });
}

void TMainForm::mousePressEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  core::Guarded([&] { FormMouseDown(event->button(), event->modifiers(), p.x(), p.y()); });
}

void TMainForm::mouseReleaseEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  dragging_ = false;
  core::Guarded([&] { FormMouseUp(event->button(), event->modifiers(), p.x(), p.y()); });
}

void TMainForm::ForwardMouseMove(int x, int y) {
  FormMouseMove(Qt::NoModifier, x, y);
}

void TMainForm::PressSilently(int x, int y) {
  FormMouseDown(Qt::LeftButton, Qt::ShiftModifier, x, y);
}

void TMainForm::SetButtonHint(std::size_t index, const std::string& hint) {
  if (index < buttonHints_.size()) buttonHints_[index]->setToolTip(platform::ToQString(hint));
}

}  // namespace quire::shell
