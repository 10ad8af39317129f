#include "html/html_frame.h"

#include <QCursor>
#include <QEvent>
#include <QLabel>
#include <QPainter>
#include <QToolTip>

#include "core/guard.h"
#include "platform/paths.h"
#include "platform/processes.h"
#include "platform/text.h"
#include "storage/compr_stream.h"

namespace quire::html {

namespace {

using engine::html::FromTColor;
using engine::html::ToTColor;

constexpr int kHintInterval = 200;  // ms
constexpr int kHintMaxWidth = 300;
constexpr int kHintOffset = 18;  // below the pointer
constexpr int kHintBackground = 0xFFFFE1;
constexpr int kOverLinkColor = 255;  // pure red
constexpr int kPanelScreen = 1;      // the reading screen lies on the background panel

HtmlFonts FontsOf(const engine::html::ViewerSettings& s) {
  return {s.FontName, ToTColor(s.FontColor), s.FontSize, ToTColor(s.HotSpotColor),
          ToTColor(s.Background)};
}

void ApplyFonts(engine::html::ViewerSettings& s, const HtmlFonts& fonts) {
  s.FontName = fonts.FontName;
  s.FontColor = FromTColor(fonts.FontColor);
  s.FontSize = fonts.FontSize;
  s.HotSpotColor = FromTColor(fonts.HotSpotColor);
  s.Background = FromTColor(fonts.Background);
}

bool IsPictureName(const std::string& name) {
  const std::string ext = platform::AsciiLower(platform::ExtractFileExt(name));
  return ext == ".bmp" || ext == ".gif" || ext == ".jpg" || ext == ".jpeg";
}

}  // namespace

HtmlFonts ReadHtmlFonts(platform::RegistryDb* registry, const std::string& appTitle) {
  HtmlFonts fonts;
  if (!registry) return fonts;
  platform::TRegistry key(*registry);
  if (!key.OpenKey(core::SettingsKey(appTitle), true)) return fonts;
  const std::string name = key.ReadString("FontName").value_or("");
  if (!name.empty()) fonts.FontName = name;
  fonts.FontColor = key.ReadInteger("FontColor").value_or(fonts.FontColor);
  fonts.FontSize = key.ReadInteger("FontSize").value_or(fonts.FontSize);
  fonts.HotSpotColor = key.ReadInteger("HotSpotColor").value_or(fonts.HotSpotColor);
  fonts.Background = key.ReadInteger("Background").value_or(fonts.Background);
  return fonts;
}

void WriteHtmlFonts(platform::RegistryDb* registry, const std::string& appTitle,
                    const HtmlFonts& fonts) {
  if (!registry) return;
  platform::TRegistry key(*registry);
  if (!key.OpenKey(core::SettingsKey(appTitle), true)) return;
  // Each write stands alone: one that fails does not keep the others from being made.
  key.WriteString("FontName", fonts.FontName);
  key.WriteInteger("FontColor", fonts.FontColor);
  key.WriteInteger("FontSize", fonts.FontSize);
  key.WriteInteger("HotSpotColor", fonts.HotSpotColor);
  key.WriteInteger("Background", fonts.Background);
}

std::unique_ptr<THtmlFrame> CreateHtmlAreas(core::Globals& g, QWidget* mainWindow,
                                            QWidget* backgroundPanel,
                                            const core::TDynamicHtmlArray& decls) {
  if (decls.empty()) return nullptr;
  return std::make_unique<THtmlFrame>(g, mainWindow, backgroundPanel, decls);
}

THtmlFrame::THtmlFrame(core::Globals& g, QWidget* mainWindow, QWidget* backgroundPanel,
                       const core::TDynamicHtmlArray& decls)
    : g_(g), mainWindow_(mainWindow), panel_(backgroundPanel) {
  for (const core::RHTML& decl : decls) {
    if (ViewerOfScreen(decl.Screen) < 0) viewerScreens_.push_back(decl.Screen);
  }
  archiveMode_.assign(viewerScreens_.size(), false);
  linkGroups_.resize(viewerScreens_.size());
  fonts_ = ReadHtmlFonts(g_.Registry(), g_.AppTitle);
  for (size_t i = 0; i < viewerScreens_.size(); ++i) {
    auto* viewer = new TFrameViewer(g_, mainWindow_);
    viewer->hide();
    viewer->setGeometry(0, 0, 0, 0);
    SetUpViewer(*viewer, static_cast<int>(i));
    viewers_.emplace_back(viewer);
  }
  for (const core::RHTML& decl : decls) {
    // The declaration gives right and bottom edges, not a size.
    areaRects_.push_back(
        QRect(decl.Left, decl.Top, decl.Right - decl.Left, decl.Bottom - decl.Top));
    areaNumbers_.push_back(decl.Number);
    areaScreens_.push_back(decl.Screen);
    startDocuments_.push_back(decl.StartDocument);
  }
  hintTimer_.setInterval(kHintInterval);
  connect(&hintTimer_, &QTimer::timeout, this, [this] { core::Guarded([&] { HintTick(); }); });
  hintWindow_ = std::make_unique<QLabel>(nullptr, Qt::ToolTip);
  hintWindow_->setWordWrap(true);
  hintWindow_->setMargin(2);
  hintWindow_->setAutoFillBackground(true);
  QPalette palette = hintWindow_->palette();
  palette.setColor(QPalette::Window, FromTColor(kHintBackground));
  palette.setColor(QPalette::WindowText, Qt::black);
  hintWindow_->setPalette(palette);
  SaveDialog = [this](const std::string& folder, const std::string& fileName) {
    return AskZipName(folder, fileName);
  };
  Launch = [](const std::string& target, const std::string& parameters, const std::string& folder) {
    platform::ShellOpen(target, parameters, folder);
  };
  chapters_ = ReadChapterList(g_.ReadBin);
  previousScreen_ = -1;
  ShowScreen();
}

THtmlFrame::~THtmlFrame() {
  core::Guarded([&] {
    if (TFrameViewer* viewer = Current()) {
      WriteHtmlFonts(g_.Registry(), g_.AppTitle, FontsOf(viewer->Settings()));
    }
  });
  hintTimer_.stop();
  for (QPointer<TFrameViewer>& viewer : viewers_) delete viewer.data();
}

void THtmlFrame::SetUpViewer(TFrameViewer& viewer, int index) {
  engine::html::ViewerSettings settings = viewer.Settings();
  ApplyFonts(settings, fonts_);
  settings.NoBorder = true;
  settings.LinksChangeColor = true;
  settings.OverColor = FromTColor(kOverLinkColor);
  viewer.SetSettings(settings);
  viewer.SetHistoryMaxCount(10);
  viewer.SetVisitedMaxCount(20);
  viewer.SetImageCacheCount(0);
  // Keyboard focus passes from one screen's viewer to the next in creation order.
  if (index > 0 && viewers_[index - 1]) QWidget::setTabOrder(viewers_[index - 1], &viewer);

  TFrameViewer* v = &viewer;
  viewer.OnHotSpotCovered = [this](const std::string& target, const std::string& url) {
    core::Guarded([&] { LinkCovered(target, url); });
  };
  viewer.OnHotSpotClick = [this, v](const std::string& target, const std::string& url,
                                    bool& handled) {
    core::Guarded([&] { handled = LinkClicked(*v, target, url); });
  };
  viewer.OnHistoryChange = [this](TFrameViewer* changed) {
    core::Guarded([&] { HistoryChanged(*changed); });
  };
  viewer.OnKeyDown = [this](int key, Qt::KeyboardModifiers shift) {
    core::Guarded([&] { KeyDown(key, shift); });
  };
  viewer.OnMouseMove = [this](Qt::MouseButton, Qt::MouseButtons, Qt::KeyboardModifiers, int x,
                              int y) { core::Guarded([&] { MouseMoved(x, y); }); };
  viewer.OnMouseDown = [this](Qt::MouseButton, Qt::MouseButtons buttons,
                              Qt::KeyboardModifiers shift, int x,
                              int y) { core::Guarded([&] { MouseDown(buttons, shift, x, y); }); };
  viewer.OnMouseUp = [this](Qt::MouseButton, Qt::MouseButtons, Qt::KeyboardModifiers, int, int) {
    core::Guarded([&] { MouseUp(); });
  };
  viewer.OnPrintHeader = [this](QPainter& canvas, int page, int width, int) {
    core::Guarded([&] {
      if (ActiveDocument()) PrintHeader(canvas, page, width);
    });
  };
}

std::vector<TFrameViewer*> THtmlFrame::Viewers() const {
  std::vector<TFrameViewer*> viewers;
  for (const QPointer<TFrameViewer>& viewer : viewers_) viewers.push_back(viewer.data());
  return viewers;
}

int THtmlFrame::ViewerOfScreen(int screen) const {
  for (size_t i = 0; i < viewerScreens_.size(); ++i) {
    if (viewerScreens_[i] == screen) return static_cast<int>(i);
  }
  return -1;
}

int THtmlFrame::AreaOfNumber(int number) const {
  for (size_t i = 0; i < areaNumbers_.size(); ++i) {
    if (areaNumbers_[i] == number) return static_cast<int>(i);
  }
  return -1;
}

TFrameViewer* THtmlFrame::Current() const {
  if (currentViewer_ < 0 || static_cast<size_t>(currentViewer_) >= viewers_.size()) return nullptr;
  return viewers_[currentViewer_].data();
}

TDocumentView* THtmlFrame::ActiveDocument() const {
  TFrameViewer* viewer = Current();
  return viewer ? viewer->ActiveView() : nullptr;
}

TFrameViewer* THtmlFrame::CurrentViewer() const {
  const int index = ViewerOfScreen(g_.CurrentScreen);
  return index < 0 ? nullptr : viewers_[index].data();
}

void THtmlFrame::Place(TFrameViewer& viewer, const QRect& area) const {
  // The test is on the screen shown, not on the area's screen.
  if (g_.CurrentScreen == kPanelScreen && panel_) {
    if (viewer.parentWidget() != panel_) viewer.setParent(panel_);
    viewer.setGeometry(area.translated(-panel_->pos()));
  } else {
    if (viewer.parentWidget() != mainWindow_) viewer.setParent(mainWindow_);
    viewer.setGeometry(area);
  }
  viewer.raise();
}

void THtmlFrame::SetFillsParent(TFrameViewer& viewer, bool fills) {
  viewer.setProperty("fillsParent", fills);
  if (!fills || !viewer.parentWidget()) return;
  viewer.parentWidget()->installEventFilter(this);
  viewer.setGeometry(viewer.parentWidget()->rect());
}

bool THtmlFrame::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Resize) {
    for (const QPointer<TFrameViewer>& viewer : viewers_) {
      if (viewer && viewer->parentWidget() == watched && viewer->property("fillsParent").toBool())
        viewer->setGeometry(viewer->parentWidget()->rect());
    }
  }
  return QObject::eventFilter(watched, event);
}

bool THtmlFrame::InHistory(const TFrameViewer& viewer, const std::string& file) {
  for (const std::string& name : viewer.History()) {
    if (platform::SameText(name, file)) return true;
  }
  return false;
}

// Goes to the history entry of `file` when there is one (nothing is read again), else loads it.
void THtmlFrame::GoOrLoad(TFrameViewer& viewer, const std::string& file) {
  const std::vector<std::string> history = viewer.History();
  for (size_t i = 0; i < history.size(); ++i) {
    if (platform::SameText(history[i], file)) {
      viewer.SetHistoryIndex(static_cast<int>(i));
      return;
    }
  }
  viewer.LoadFromFile(file);
}

void THtmlFrame::ShowScreen() {
  const int screen = g_.CurrentScreen;
  int area = -1;
  for (size_t i = 0; i < areaScreens_.size() && area < 0; ++i) {
    if (areaScreens_[i] == screen) area = static_cast<int>(i);
  }
  if (area >= 0) {
    currentArea_ = area;
    currentViewer_ = ViewerOfScreen(screen);
    TFrameViewer& viewer = *Current();
    SetFillsParent(viewer, false);
    try {
      if (viewer.History().empty()) {
        viewer.LoadFromFile(startDocuments_[area]);
      } else if (TDocumentView* view = viewer.ActiveView()) {
        view->SetPosition(0);
      }
      Place(viewer, areaRects_[area]);
      viewer.show();
    } catch (const std::exception&) {
      viewer.hide();
    }
    if (screen == kPanelScreen) SetFillsParent(viewer, true);
  }
  if (previousScreen_ != screen) {
    const int previous = ViewerOfScreen(previousScreen_);
    if (previous >= 0 && viewers_[previous]) viewers_[previous]->hide();
  }
  previousScreen_ = screen;
}

void THtmlFrame::OpenInArea(int number, const std::string& file) {
  const int area = AreaOfNumber(number);
  if (area < 0) return;
  if (areaScreens_[area] == g_.CurrentScreen) {
    TFrameViewer* viewer = Current();
    if (!viewer) return;
    const std::string name = file.empty() ? startDocuments_[area] : file;
    try {
      GoOrLoad(*viewer, name);
      SetFillsParent(*viewer, false);
      Place(*viewer, areaRects_[area]);
      if (TDocumentView* view = viewer->ActiveView()) view->SetPosition(0);
      viewer->show();
    } catch (const std::exception&) {
      viewer->hide();
    }
    currentArea_ = area;
    return;
  }
  // A page prepared in the viewer of another screen, shown when that screen is entered.
  const int index = ViewerOfScreen(areaScreens_[area]);
  if (index < 0 || !viewers_[index]) return;
  TFrameViewer& viewer = *viewers_[index];
  try {
    viewer.setGeometry(0, 0, 0, 0);
    viewer.show();
    GoOrLoad(viewer, file);
    viewer.hide();
  } catch (const std::exception&) {
    viewer.hide();
  }
}

void THtmlFrame::OpenDocument(const std::string& file) {
  TFrameViewer* viewer = Current();
  if (!viewer || viewer->isHidden()) return;
  if (!InHistory(*viewer, file)) {
    viewer->AddVisited(file);
    viewer->CheckVisitedLinks();
    viewer->LoadFromFile(file);  // a failure goes to the caller
    return;
  }
  GoOrLoad(*viewer, file);
  if (TDocumentView* view = viewer->ActiveView()) view->SetPosition(0);
}

bool THtmlFrame::InArchiveMode() const {
  return currentViewer_ >= 0 && static_cast<size_t>(currentViewer_) < archiveMode_.size() &&
         archiveMode_[currentViewer_];
}

void THtmlFrame::SetArchiveMode(bool on) {
  if (currentViewer_ >= 0 && static_cast<size_t>(currentViewer_) < archiveMode_.size())
    archiveMode_[currentViewer_] = on;
}

void THtmlFrame::ScrollToTop() {
  if (TDocumentView* view = ActiveDocument()) view->SetPosition(0);
}

void THtmlFrame::SelectAll() {
  TFrameViewer* viewer = Current();
  if (!viewer || viewer->isHidden()) return;
  if (TDocumentView* view = viewer->ActiveView()) view->SelectAll();
}

void THtmlFrame::EditFonts() {
  TFrameViewer* viewer = Current();
  if (!viewer || !FontDialog) return;
  HtmlFonts fonts = FontsOf(viewer->Settings());
  if (!FontDialog(fonts)) return;
  fonts_ = fonts;
  for (QPointer<TFrameViewer>& each : viewers_) {
    if (!each) continue;
    engine::html::ViewerSettings settings = each->Settings();
    ApplyFonts(settings, fonts);
    each->SetSettings(settings);
  }
  viewer->Reload();
}

void THtmlFrame::Print(const std::string& file) {
  core::Guarded([&] {
    if (!file.empty()) {
      TFrameViewer printViewer(g_, mainWindow_);
      printViewer.hide();
      printViewer.setGeometry(0, 0, 0, 0);
      printViewer.SetHistoryMaxCount(0);
      printViewer.SetImageCacheCount(0);
      printViewer.SetNoLinkUnderline(true);
      printViewer.SetViewImages(true);
      printViewer.OnPrintHeader = [this](QPainter& canvas, int page, int width, int) {
        PrintHeader(canvas, page, width);
      };
      printViewer.LoadFromFile(file);
      if (Preview && printViewer.ActiveView())
        Preview(*printViewer.ActiveView(), false, QSize(0, 0));
      return;
    }
    TDocumentView* view = ActiveDocument();
    if (!view) return;
    printPicture_ = IsPictureName(view->FileName());
    if (Preview) Preview(*view, printPicture_, Current()->LastPictureSize());
  });
}

// Qt picks the script from the text itself, so the print viewer's Cyrillic character set needs
// no setting of its own.
void THtmlFrame::PrintHeader(QPainter& canvas, int page, int width) const {
  canvas.save();
  canvas.setFont(QFont("Arial", 8));
  canvas.setBackgroundMode(Qt::TransparentMode);
  const QString text = platform::ToQString(platform::Ansi("Страница ")) + QString::number(page);
  const int right = width - 50;
  const QRect box(0, 40, right, canvas.fontMetrics().height());
  canvas.drawText(box, Qt::AlignRight | Qt::AlignTop, text);
  canvas.restore();
}

void THtmlFrame::CopyPageToFolder() {
  TFrameViewer* viewer = Current();
  if (!viewer || viewer->isHidden() || viewer->CurrentFile().empty() || !g_.PathInputBox) return;
  const std::string document = engine::html::WithoutAnchor(viewer->CurrentFile());
  const std::string folder = g_.PathInputBox->CurrentInstallPath();
  const std::string target = folder + platform::ExtractFileName(document);
  g_.Fs->ForceDirectories(platform::ExtractFilePath(target));
  bool copied = storage::CopyContentFile(g_, document, target);

  // The pictures of a saved page lie in a folder beside it, named after the page.
  const std::string base = document.substr(0, document.rfind('.'));
  const std::string companion = base + ".files";
  if (g_.Fs->DirectoryExists(companion)) {
    const std::string documentFolder = platform::ExtractFilePath(document);
    for (const std::string& path : g_.Fs->ListFiles(companion, {"*.*"}, true, true)) {
      std::string relative = path;
      if (platform::FindText(relative, documentFolder) == 0)
        relative.erase(0, documentFolder.size());
      const std::string destination = folder + relative;
      if (g_.Fs->DirectoryExists(path)) {
        g_.Fs->ForceDirectories(destination);
      } else {
        g_.Fs->ForceDirectories(platform::ExtractFilePath(destination));
        copied = g_.Fs->CopyFile(path, destination) && copied;
      }
    }
  }
  // Unlike a plain "copied" whatever happened, the user learns when the copy failed.
  if (g_.StatusLine)
    g_.StatusLine->Show(platform::Ansi(copied ? "Файл скопирован" : "Файл не скопирован"));
}

void THtmlFrame::FillWindow() {
  TFrameViewer* viewer = Current();
  if (viewer && !viewer->isHidden()) SetFillsParent(*viewer, true);
}

void THtmlFrame::RestoreBounds() {
  TFrameViewer* viewer = Current();
  if (!viewer || viewer->isHidden()) return;
  SetFillsParent(*viewer, false);
  if (static_cast<size_t>(currentArea_) < areaRects_.size())
    viewer->setGeometry(areaRects_[currentArea_]);
}

// ---- Pointer, keys and image hints ----

// Only pictures count as objects here: the text and blocks around them are "no object", so a
// hint ends when the pointer leaves its picture.
engine::html::HtmlObject THtmlFrame::ObjectAt(QPoint viewPoint) const {
  TDocumentView* view = ActiveDocument();
  engine::html::HtmlObject object = view ? view->ObjectAt(viewPoint) : engine::html::HtmlObject{};
  return object.IsImage ? object : engine::html::HtmlObject{};
}

void THtmlFrame::MouseMoved(int x, int y) {
  if (ActiveDocument()) {
    const engine::html::HtmlObject object = ObjectAt(QPoint(x, y));
    if (!object.Exists) {
      hintedImage_ = nullptr;
    } else if (object.IsImage && object.Id != hintedImage_ && !hintTimer_.isActive() &&
               !object.Alt.empty()) {
      hintTicks_ = 0;
      hintTimer_.start();
    }
  }
  // The skin's controls lose their hover look.
  if (g_.Shell) g_.Shell->ForwardMouseMove(-1, -1);
}

void THtmlFrame::HintTick() {
  ++hintTicks_;
  TDocumentView* view = ActiveDocument();
  const engine::html::HtmlObject object =
      view ? ObjectAt(view->viewport()->mapFromGlobal(QCursor::pos())) : engine::html::HtmlObject{};
  if (!object.Exists) {
    hintedImage_ = nullptr;
    EndHint();
    return;
  }
  if (hintTicks_ > 20) return EndHint();
  if (hintTicks_ < 2) return;
  if (hintShown_ && object.Id == hintedImage_) return;
  if (!object.IsImage) return;
  if (object.Alt.empty()) return EndHint();
  hintWindow_->setMaximumWidth(kHintMaxWidth);
  hintWindow_->setText(platform::ToQString(object.Alt));
  hintWindow_->adjustSize();
  hintWindow_->move(QCursor::pos() + QPoint(0, kHintOffset));
  hintWindow_->show();
  hintShown_ = true;
  if (object.Id != hintedImage_) {
    hintTicks_ = 2;
    hintedImage_ = object.Id;
  }
}

void THtmlFrame::EndHint() {
  hintTimer_.stop();
  hintWindow_->hide();
  hintShown_ = false;
}

void THtmlFrame::MouseDown(Qt::MouseButtons buttons, Qt::KeyboardModifiers shift, int x, int y) {
  if (g_.PopupControl) g_.PopupControl->HidePopup();
  if (buttons != Qt::RightButton || shift != Qt::NoModifier || !g_.PopupControl) return;
  TDocumentView* view = ActiveDocument();
  if (!view) return;
  const QPoint at = view->viewport()->mapToGlobal(QPoint(x, y));
  g_.PopupControl->Open(-5, at.x(), at.y());  // the page's context menu
}

void THtmlFrame::MouseUp() {
  if (g_.ThesaurusMode || !g_.Windows) return;
  TDocumentView* view = ActiveDocument();
  if (!view || view->SelLength() <= 0 || IsPictureName(Current()->CurrentFile())) return;
  g_.Windows->LookUpThesaurus(view->SelText());
}

void THtmlFrame::KeyDown(int key, Qt::KeyboardModifiers shift) {
  if ((key == Qt::Key_C || key == Qt::Key_Insert) && shift == Qt::ControlModifier) {
    TDocumentView* view = ActiveDocument();
    if (!view) return;
    try {
      view->CopyToClipboard();
    } catch (const engine::html::HtmlError& refused) {
      // A copy that did not happen is said, not dropped.
      const std::string text = refused.what();
      if (g_.StatusLine)
        g_.StatusLine->Show(text);
      else
        QToolTip::showText(QCursor::pos(), platform::ToQString(text));
    }
  } else if (key == Qt::Key_Return || key == Qt::Key_Enter) {
    if (g_.SearchBoxes) g_.SearchBoxes->SearchVisibleBoxes();
  }
}

}  // namespace quire::html
