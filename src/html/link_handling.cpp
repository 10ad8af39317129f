// What the book's links do: program commands, copies to the install folder, printing, the
// serial-number lists, archives, sounds and programs from the disc. Links between pages are
// left to the viewer, which follows them itself.
#include <QClipboard>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>

#include "core/command_text.h"
#include "core/game_keys.h"
#include "html/html_frame.h"
#include "platform/paths.h"
#include "platform/processes.h"
#include "platform/text.h"
#include "storage/compr_stream.h"

namespace quire::html {

namespace {

using platform::Contains;

// Documents the viewer shows itself.
bool IsDocumentExtension(const std::string& ext) {
  for (const char* kind : {".htm", ".txt", ".inf", ".diz", ".bmp", ".gif", ".jpg", ".jpeg"}) {
    if (Contains(ext, kind)) return true;
  }
  return false;
}

std::string Quoted(const std::string& text) {
  return "\"" + text + "\"";
}

}  // namespace

bool THtmlFrame::LinkClicked(TFrameViewer& viewer, const std::string& target,
                             const std::string& url) {
  const std::string full = platform::AnsiLowerCase(viewer.HtmlExpandFilename(url));
  const std::string ext = platform::ExtractFileExt(full);
  const std::string lowerUrl = platform::AnsiLowerCase(url);
  const bool anchor = url.starts_with('#');

  if (platform::SameText(target, "_blank")) {
    MarkVisited(viewer, full);
    if (storage::ContentFileExists(g_, full.substr(0, full.find('#')))) StartOwnCopy(full);
    return true;
  }
  if (Contains(lowerUrl, "http:") || Contains(lowerUrl, "mailto:")) {
    MarkVisited(viewer, full);
    Launch(url, "", "");
    return true;
  }
  if (Contains(lowerUrl, "printhtml:")) {
    std::string rest = url;
    if (const size_t at = rest.find("printhtml:"); at != std::string::npos) rest.erase(at, 10);
    const std::string file = viewer.HtmlExpandFilename(rest);
    MarkVisited(viewer, file);
    Print(file);
    return true;
  }
  if (Contains(lowerUrl, "copy:")) {
    MarkVisited(viewer, full);
    CopyToInstallFolder(platform::AnsiLowerCase(viewer.HtmlExpandFilename(url.substr(5))));
    return true;
  }
  if (Contains(lowerUrl, "copylist:")) {
    MarkVisited(viewer, full);
    CopyListChoice(url.substr(9));
    return true;
  }
  if (Contains(lowerUrl, "rungame:") || Contains(lowerUrl, "delgame:")) {
    MarkVisited(viewer, full);
    std::string command = url;
    command.erase(7, 1);  // "rungame:x" is the command "rungamex"; the colon goes
    if (g_.Shell) g_.Shell->RunCommand(command, "", true, -1, -1);
    return true;
  }
  const bool archive = InArchiveMode();
  if (archive && !storage::ContentFileExists(g_, full) && !anchor) {
    // A listing's link to a file still packed: unpack the archive so the file exists.
    if (g_.ArchiveBrowser) g_.ArchiveBrowser->ExtractArchive(false, true);
  }
  if (IsDocumentExtension(ext) || anchor) {
    if (!archive) return false;
    if (!Contains(platform::ExtractFileName(full), "as_") && !anchor) {
      OpenDocument(full);
      return true;
    }
    return false;
  }
  MarkVisited(viewer, full);
  OpenOtherFile(full, ext);
  return true;
}

void THtmlFrame::MarkVisited(TFrameViewer& viewer, const std::string& full) {
  viewer.AddVisited(full);
  viewer.CheckVisitedLinks();
}

void THtmlFrame::StartOwnCopy(const std::string& full) const {
  // The new copy reads the same book; it decides itself whether to hand the page over.
  const std::string parameters = "--book " + Quoted(g_.Location.BookFolder.string()) +
                                 " --cd-root " + Quoted(g_.Location.MediumRoot.string()) + " " +
                                 Quoted(platform::Cp1251ToUtf8(full));
  Launch(QCoreApplication::applicationFilePath().toStdString(), parameters, "");
}

void THtmlFrame::CopyToInstallFolder(const std::string& source) const {
  if (!g_.PathInputBox) return;
  const std::string target =
      g_.PathInputBox->CurrentInstallPath() + platform::ExtractFileName(source);
  g_.Fs->ForceDirectories(platform::ExtractFilePath(target));
  storage::CopyContentFile(g_, source, target);
}

void THtmlFrame::CopyListChoice(const std::string& name) {
  TDocumentView* view = ActiveDocument();
  if (!view) return;
  const std::string wanted = platform::AnsiLowerCase(name);
  for (const engine::html::FormControl& control : view->FormControls()) {
    if (!control.IsDropDown || platform::AnsiLowerCase(control.Name) != wanted) continue;
    if (control.ItemIndex < 0 || static_cast<size_t>(control.ItemIndex) >= control.Items.size())
      continue;
    QGuiApplication::clipboard()->setText(platform::ToQString(control.Items[control.ItemIndex]));
    if (g_.StatusLine) g_.StatusLine->Show(platform::Ansi("Серийный номер скопирован"));
  }
}

void THtmlFrame::OpenOtherFile(std::string full, const std::string& ext) {
  if (!InArchiveMode()) {
    // A link written for another drive is looked up on the drive the program runs from.
    const std::string drive = platform::ExtractFileDrive(full);
    if (!platform::SameText(drive + "\\", g_.DriveRoot)) {
      const size_t rest = drive.size() + (full.compare(drive.size(), 1, "\\") == 0 ? 1 : 0);
      full = g_.DriveRoot + full.substr(rest);
    }
  }
  const auto host = g_.Fs->ToHost(full);
  const auto hostFolder = g_.Fs->ToHost(platform::ExtractFilePath(full));
  if (Contains(ext, ".zip")) {
    const std::string chosen = SaveDialog(zipFolder_, platform::ExtractFileName(full));
    if (chosen.empty()) return;
    zipFolder_ = platform::ExtractFilePath(chosen);
    storage::CopyContentFile(g_, full, chosen);
  } else if (Contains(ext, ".rar")) {
    if (g_.ArchiveBrowser) g_.ArchiveBrowser->ShowArchive(full, Current()->CurrentFile());
  } else if (Contains(ext, ".wav")) {
    if (g_.ClipPlayer) g_.ClipPlayer->Play(full, "", 3);
  } else if (host) {
    // Programs start in their own folder; other files open in the desktop's program.
    Launch(host->string(), "", hostFolder.value_or("").string());
  }
}

void THtmlFrame::LinkCovered(const std::string& target, const std::string& url) {
  if (!g_.Shell || !g_.Shell->HasStatusBar()) return;
  if (url.empty() || InArchiveMode()) {
    g_.Shell->SetStatusBarText("");
    return;
  }
  const std::string text = LinkStatusText(target, url);
  g_.Shell->SetStatusBarText(target.empty() ? text : "Url: " + text + "  Target: " + target);
}

std::string THtmlFrame::LinkStatusText(const std::string&, const std::string& url) const {
  TFrameViewer* viewer = Current();
  if (!viewer) return url;
  if (url.starts_with('#')) return viewer->CurrentFile() + url;
  const engine::html::UrlParts parts = TFrameViewer::ParseUrl(url);
  const std::string scheme = platform::AsciiLower(parts.Scheme);
  if (scheme.empty() || scheme == "file") return viewer->HtmlExpandFilename(url);
  if (scheme == "copy") {
    const std::string file = viewer->HtmlExpandFilename(parts.Host);
    if (!g_.PathInputBox) return file;
    return platform::Ansi("Копирование файла ") + Quoted(file) + platform::Ansi(" в каталог ") +
           Quoted(g_.PathInputBox->CurrentInstallPath());
  }
  if (scheme == "rungame") return GameStatusText(url, true);
  if (scheme == "delgame") return GameStatusText(url, false);
  return url;
}

std::string THtmlFrame::AskZipName(const std::string& folder, const std::string& fileName) const {
  const auto hostFolder = folder.empty() ? std::nullopt : g_.Fs->ToHost(folder);
  const QString name = platform::ToQString(fileName);
  const QString start =
      hostFolder ? QDir(QString::fromStdString(hostFolder->string())).filePath(name) : name;
  const QString chosen = QFileDialog::getSaveFileName(
      mainWindow_, QString(), start,
      platform::ToQString(platform::Ansi("Zip файлы (*.zip);;Все файлы (*.*)")));
  if (chosen.isEmpty()) return {};
  return g_.Fs->ToVirtual(chosen.toStdString()).value_or("");
}

std::string THtmlFrame::GameStatusText(std::string url, bool run) const {
  url.erase(7, 1);
  const std::string game = run ? core::SecondArgument(url, g_) : core::FirstArgument(url, g_);
  const std::string value = core::ReadGameValue(g_, game, run ? "exename" : "instdir");
  if (run) return platform::Ansi(value.empty() ? "Установить игру" : "Запустить игру");
  return platform::Ansi(value.empty() ? "Игра не установлена" : "Удалить игру");
}

}  // namespace quire::html
