// The book window's start-up, from process start to the first painted screen, against a bare
// Qt window that paints one picture of the same size; and the cost of a screen switch.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QProcess>

#include "core/globals.h"
#include "shell/main_form.h"
#include "storage/content_archive.h"
#include "support/temp_dir.h"

namespace {

using namespace quire;

testing::TempDir& Scratch() {
  static testing::TempDir dir;
  return dir;
}

QProcessEnvironment Environment() {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("QT_QPA_PLATFORM", "offscreen");
  env.insert("QUIRE_PREFIX", QString::fromStdString((Scratch() / "prefix").string()));
  env.insert("QUIRE_QUIT_ON_FIRST_PAINT", "1");
  return env;
}

void RunToFirstPaint(benchmark::State& state, const QString& program, const QStringList& args) {
  for (auto _ : state) {
    QProcess process;
    process.setProcessEnvironment(Environment());
    process.start(program, args);
    if (!process.waitForFinished(30000) || process.exitCode() != 0) {
      state.SkipWithError("the program did not paint and end");
      return;
    }
  }
}

void BM_BookWindowToFirstPaint(benchmark::State& state) {
  RunToFirstPaint(state, QUIRE_EXE, {"--book", QUIRE_DEMO_BOOK});
}
BENCHMARK(BM_BookWindowToFirstPaint)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);

void BM_BareWindowToFirstPaint(benchmark::State& state) {
  const QString picture = QString::fromStdString((Scratch() / "screen0.png").string());
  QProcess::execute(QUIRE_PACK, {"screen", "render", QUIRE_DEMO_BOOK, "0", picture});
  RunToFirstPaint(state, BARE_WINDOW, {picture});
}
BENCHMARK(BM_BareWindowToFirstPaint)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);

void BM_ScreenSwitch(benchmark::State& state) {
  std::string error;
  auto g = core::MakeGlobals(*core::LocateBook(QUIRE_DEMO_BOOK, std::nullopt, error),
                             Scratch() / "prefix-in-process", error);
  storage::ContentArchive archive;
  archive.OpenArchive(*g->Fs, g->ExeDir + "interface.dat");
  archive.SetArchiveRoot(g->ArchiveRootDir);
  g->Archive = &archive;
  shell::TMainForm form(*g, {}, {});
  int screen = 0;
  for (auto _ : state) {
    screen = (screen + 1) % static_cast<int>(g->Description.Screens.size());
    form.ShowScreen(screen, 0, -1);
  }
}
BENCHMARK(BM_ScreenSwitch)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
