// quire: runs a skinned multimedia book.
#include <QApplication>
#include <QLabel>
#include <QVBoxLayout>
#include <QWidget>
#include <cstdio>
#include <filesystem>

#include "app/options.h"
#include "app/where.h"
#include "core/globals.h"
#include "platform/paths.h"

namespace {

namespace fs = std::filesystem;

// The demo book: installed beside the program, or in the build tree when run from there.
fs::path DemoBook(const char* argv0) {
  std::error_code ec;
  const fs::path exe = fs::canonical("/proc/self/exe", ec);
  const fs::path bin = ec ? fs::absolute(argv0).parent_path() : exe.parent_path();
  const fs::path installed = bin.parent_path() / "share" / "quire" / "demo" / "run";
  if (fs::is_directory(installed, ec)) return installed;
  return QUIRE_BUILD_DEMO_BOOK;
}

int Fail(const std::string& message) {
  std::fprintf(stderr, "quire: %s\n", message.c_str());
  return 2;
}

// Until the book window exists, Quire shows what it would read and write.
int RunBareWindow(int argc, char** argv, const quire::core::Globals& g) {
  QApplication app(argc, argv);
  QWidget window;
  window.setWindowTitle("Quire");
  auto* layout = new QVBoxLayout(&window);
  auto* heading = new QLabel("This build of Quire cannot show books yet.");
  auto* table = new QLabel(QString::fromStdString(quire::app::WhereText(g)));
  table->setFont(QFont("DejaVu Sans Mono", 10));
  table->setTextInteractionFlags(Qt::TextSelectableByMouse);
  layout->addWidget(heading);
  layout->addWidget(table);
  window.show();
  return app.exec();
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  std::string error;
  const auto options = quire::app::ParseOptions(args, error);
  if (!options) return Fail(error + "\n" + quire::app::UsageText());
  if (options->Help) {
    std::fputs(quire::app::UsageText().c_str(), stdout);
    return 0;
  }
  if (options->Version) {
    std::printf("quire %s\n", QUIRE_VERSION);
    return 0;
  }
  const fs::path bookFolder = quire::app::ChooseBookFolder(*options, DemoBook(argv[0]));
  const auto location = quire::core::LocateBook(bookFolder, options->CdRoot, error);
  if (!location) return Fail(error);
  const auto globals = quire::core::MakeGlobals(*location, quire::platform::UserPrefix(), error);
  if (!globals) return Fail(error);
  if (options->Where) {
    std::fputs(quire::app::WhereText(*globals).c_str(), stdout);
    return 0;
  }
  globals->CreateUserFolders();
  return RunBareWindow(argc, argv, *globals);
}
