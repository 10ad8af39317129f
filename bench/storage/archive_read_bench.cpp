// Reading every file of a large archive through TComprStream, against plain zlib inflation of
// the same entries already in memory. The difference is what the archive layer costs: the
// lookup, the read from the file and the stream.
#include <benchmark/benchmark.h>
#include <zlib.h>

#include <random>

#include "authoring/book_writers.h"
#include "storage/compr_stream.h"
#include "storage/content_archive.h"
#include "support/temp_dir.h"

namespace {

using namespace quire;

constexpr int kFolders = 40;
constexpr int kFilesPerFolder = 100;

// About 40 MB in 4000 files: HTML-like text that compresses well, and random bytes that
// do not compress at all.
std::vector<authoring::ContentNode> MakeContent() {
  std::mt19937 random(1234);
  const std::string words[] = {"engine ", "piston ", "<td>",        "</td>",     "oil ",
                               "valve ",  "<p>",     "crankshaft ", "ignition ", "\r\n"};
  std::vector<authoring::ContentNode> folders;
  for (int f = 0; f < kFolders; ++f) {
    authoring::ContentNode folder;
    folder.name = "F" + std::to_string(f);
    folder.folder = true;
    for (int i = 0; i < kFilesPerFolder; ++i) {
      authoring::ContentNode file;
      file.name = "FILE" + std::to_string(i) + ".HTM";
      const size_t size = 2000 + random() % 16000;
      if (i % 4 == 0) {
        for (size_t b = 0; b < size; ++b) file.data += static_cast<char>(random());
      } else {
        while (file.data.size() < size) file.data += words[random() % 10];
      }
      folder.children.push_back(std::move(file));
    }
    folders.push_back(std::move(folder));
  }
  return folders;
}

struct Fixture {
  testing::TempDir dir;
  std::unique_ptr<core::Globals> g;
  storage::ContentArchive archive;
  std::vector<std::string> paths;
  std::vector<std::pair<std::string, uLongf>> packed;  // stored bytes and inflated size

  Fixture() {
    dir.Write("cd/run/interface.dat", authoring::WriteArchive(MakeContent()));
    std::string error;
    g = core::MakeGlobals(*core::LocateBook(dir / "cd/run", std::nullopt, error), dir / "p", error);
    archive.OpenArchive(*g->Fs, g->ExeDir + "interface.dat");
    archive.SetArchiveRoot(g->ArchiveRootDir);
    g->Archive = &archive;
    const std::string all = *g->Fs->ReadFile(g->ExeDir + "interface.dat");
    const size_t dataStart = all.size() - [&] {
      size_t total = 0;
      for (const auto& e : archive.Entries()) total += e.Kind == 1 ? e.Packed : 0;
      return total;
    }();
    for (const auto& [path, index] : archive.ListArchiveEntries()) {
      paths.push_back(g->ArchiveRootDir + path);
      const auto& e = archive.Entries()[index];
      packed.emplace_back(all.substr(dataStart + e.Offset, e.Packed), e.Size);
    }
  }
};

Fixture& Shared() {
  static Fixture fixture;
  return fixture;
}

void BM_ReadAllThroughTComprStream(benchmark::State& state) {
  Fixture& f = Shared();
  size_t bytes = 0;
  for (auto _ : state) {
    for (const std::string& path : f.paths) {
      storage::TComprStream stream(*f.g, path);
      bytes += stream.Size();
      benchmark::DoNotOptimize(stream.Bytes().data());
    }
  }
  state.SetBytesProcessed(static_cast<int64_t>(bytes));
}
BENCHMARK(BM_ReadAllThroughTComprStream)->Unit(benchmark::kMillisecond);

void BM_InflateAllInMemory(benchmark::State& state) {
  Fixture& f = Shared();
  size_t bytes = 0;
  for (auto _ : state) {
    for (const auto& [stored, size] : f.packed) {
      std::string out(size, '\0');
      if (stored.size() == size) {
        out.assign(stored);
      } else {
        uLongf length = size;
        uncompress(reinterpret_cast<Bytef*>(out.data()), &length,
                   reinterpret_cast<const Bytef*>(stored.data()), stored.size());
      }
      bytes += out.size();
      benchmark::DoNotOptimize(out.data());
    }
  }
  state.SetBytesProcessed(static_cast<int64_t>(bytes));
}
BENCHMARK(BM_InflateAllInMemory)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
