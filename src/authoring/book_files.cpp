#include "authoring/book_files.h"

#include <filesystem>

#include "authoring/book_writers.h"
#include "core/path_globals.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace quire::authoring {

namespace fs = std::filesystem;

BookFiles::BookFiles(const std::string& book) : name_(book) {
  fs::path folder = book;
  if (!fs::is_directory(folder)) folder = folder.parent_path();
  std::string error;
  const auto location = core::LocateBook(folder.empty() ? "." : folder, std::nullopt, error);
  g_ = location ? core::MakeGlobals(*location, platform::UserPrefix(), error) : nullptr;
  if (!g_) throw InputError{book + ": " + error};
  pack_ = std::make_unique<storage::TReadBin>(*g_->Fs);
  pack_->LoadDirectory(g_->ExeDir + "Pak.dhl");
}

core::Lines BookFiles::DescriptionLines(const char* entry, bool lowerCase) const {
  std::string block;
  const int count = pack_->ReadToBuffer(entry, block);
  if (count < 0) throw InputError{name_ + ": the pack holds no " + entry};
  core::Lines lines;
  storage::DescrambleLines(block, count, lines, lowerCase);
  return lines;
}

core::TDescription BookFiles::ReadStruct(const std::string& exeDir) const {
  const std::string dir = exeDir.empty() ? g_->ExeDir : platform::IncludeTrailingBackslash(exeDir);
  const std::string driveRoot = core::DriveRootOf(dir);
  return core::ReadStructDescription(DescriptionLines("Struct.cfs"), dir, driveRoot);
}

}  // namespace quire::authoring

namespace quire::authoring {

void BookFiles::OpenContent() {
  archive_ = std::make_unique<storage::ContentArchive>();
  archive_->OpenArchive(*g_->Fs, g_->ExeDir + "interface.dat");
  archive_->SetArchiveRoot(g_->ArchiveRootDir);
  g_->Archive = archive_.get();
}

}  // namespace quire::authoring
