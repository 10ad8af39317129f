// The state the whole book shares. One object per book: nothing else in the program is a
// mutable global, so two books can live side by side in one process.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "core/declarations.h"
#include "core/path_globals.h"
#include "core/settings.h"
#include "core/subsystems.h"
#include "platform/registry.h"
#include "platform/virtual_fs.h"

namespace quire::storage {
class ContentArchive;
class TReadBin;
}  // namespace quire::storage

namespace quire::core {

// Where a book lies on the host.
struct BookLocation {
  std::filesystem::path BookFolder;  // holds Pak.dhl and interface.dat
  std::filesystem::path MediumRoot;  // what the book's drive stands for
};

// Checks the book folder and finds its medium: `cdRoot` when given (it must hold the book
// folder), otherwise as the drive table's rule says. Empty with `error` set on bad input.
std::optional<BookLocation> LocateBook(const std::filesystem::path& bookFolder,
                                       const std::optional<std::filesystem::path>& cdRoot,
                                       std::string& error);

struct Globals : PathGlobals {
  BookLocation Location;
  std::filesystem::path UserPrefix;  // the c: drive
  std::unique_ptr<platform::VirtualFs> Fs;

  std::string AppTitle;
  int CurrentScreen = 0;
  bool Busy = false;
  bool ThesaurusMode = false;
  // What the book window's description declares, and the user's settings.
  TDescription Description;
  TSettings Settings;

  // Single instances owned elsewhere (by the main window, or a tool or test that builds a
  // book); null while absent.
  storage::ContentArchive* Archive = nullptr;
  storage::TReadBin* ReadBin = nullptr;
  IShell* Shell = nullptr;
  IHtmlAreas* HtmlFrame = nullptr;
  ISearchBoxes* SearchBoxes = nullptr;
  IFavorites* Favorites = nullptr;
  IPopupControl* PopupControl = nullptr;
  ITreeView* Trees[2] = {nullptr, nullptr};  // read from tree1.cfs and tree2.cfs
  ICoolDialog* CoolDialog = nullptr;
  IModelPanel* Panel3D = nullptr;
  IClipPlayer* ClipPlayer = nullptr;
  IBackgroundMusic* BackgroundMusic = nullptr;
  IPictureAreas* PictureAreas = nullptr;
  IFontInstaller* FontInstaller = nullptr;
  IArchiveBrowser* ArchiveBrowser = nullptr;
  IWindows* Windows = nullptr;
  IPathInputBox* PathInputBox = nullptr;
  IStatusLine* StatusLine = nullptr;
  ITextMessages* TextMessages = nullptr;
  IScreenElement* ScaleBar = nullptr;
  // The description file read last.
  std::string DescriptionBuffer;

  // The user's registry, opened on first use; null when it cannot be opened.
  platform::RegistryDb* Registry();
  std::filesystem::path RegistryFile() const { return UserPrefix / "registry.sqlite3"; }

  // The folders of the c: drive (windows, system, fonts, Program Files), created when missing.
  void CreateUserFolders() const;

 private:
  std::unique_ptr<platform::RegistryDb> registry_;
  bool registryTried_ = false;
};

// The globals of a book: drive table, virtual file system and path globals. Empty with
// `error` set when the book folder cannot be named on its drive.
std::unique_ptr<Globals> MakeGlobals(const BookLocation& location,
                                     const std::filesystem::path& userPrefix, std::string& error);

}  // namespace quire::core
