// A small book built in a temporary folder for the window's tests: a pack with a description
// and plain-coloured pictures, and an empty content archive.
#pragma once

#include "core/globals.h"
#include "storage/content_archive.h"
#include "support/bmp.h"
#include "support/book_writers.h"
#include "support/temp_dir.h"

namespace quire::testing {

class BookFixture {
 public:
  // `description` is the text of Struct.cfs (lines joined with CR LF by the caller).
  explicit BookFixture(const std::string& description,
                       std::vector<PackEntry> pictures = DefaultPictures()) {
    pictures.insert(pictures.begin(), {"Struct.cfs", Scramble(description)});
    dir.Write("cd/run/Pak.dhl", MakePack(pictures));
    dir.Write("cd/run/interface.dat", MakeArchive({}).Bytes());
    Open();
  }

  void Open() {
    std::string error;
    g = core::MakeGlobals(*core::LocateBook(dir / "cd/run", std::nullopt, error), dir / "prefix",
                          error);
    archive.OpenArchive(*g->Fs, g->ExeDir + "interface.dat");
    archive.SetArchiveRoot(g->ArchiveRootDir);
    g->Archive = &archive;
  }

  static std::vector<PackEntry> DefaultPictures() {
    return {{"back.bmp", Bmp(200, 150, qRgb(0, 0, 0))},
            {"back2.bmp", Bmp(200, 150, qRgb(50, 50, 50))},
            {"red.bmp", Bmp(20, 20, qRgb(255, 0, 0))},
            {"green.bmp", Bmp(20, 20, qRgb(0, 255, 0))},
            {"blue.bmp", Bmp(20, 20, qRgb(0, 0, 255))},
            {"white.bmp", Bmp(20, 20, qRgb(255, 255, 255))}};
  }

  TempDir dir;
  std::unique_ptr<core::Globals> g;
  storage::ContentArchive archive;
};

}  // namespace quire::testing
