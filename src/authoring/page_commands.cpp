#include <cstdio>

#include "authoring/book_files.h"
#include "authoring/commands.h"
#include "engine/html/engine_html.h"
#include "platform/text.h"

namespace quire::authoring {

int PageRender(Args& args) {
  const auto width = args.Option("--width");
  const auto words = args.Positional(3);
  int pixels = engine::html::kReadingWidth;
  if (width) {
    try {
      pixels = std::stoi(*width);
    } catch (const std::exception&) {
      pixels = 0;
    }
    if (pixels < 16 || pixels > 10000) throw UsageError{"--width takes 16 to 10000 pixels"};
  }
  BookFiles book(words[0]);
  book.OpenContent();
  const QImage page = engine::html::RenderPage(book.Globals(), words[1], pixels);
  if (!page.save(QString::fromStdString(words[2]), "PNG")) {
    throw InputError{words[2] + ": cannot write the picture"};
  }
  return 0;
}

int PageText(Args& args) {
  const auto words = args.Positional(2);
  BookFiles book(words[0]);
  book.OpenContent();
  const std::string text = engine::html::PageText(book.Globals(), words[1]);
  std::fputs(platform::Cp1251ToUtf8(text).c_str(), stdout);
  return 0;
}

}  // namespace quire::authoring
