// Opening a large chapter (ours against the layout library alone) and searching many pages in
// a hidden view. Run: build/bench/bench_html
#include <benchmark/benchmark.h>
#include <litehtml/litehtml.h>

#include <QApplication>
#include <QImage>
#include <memory>
#include <string>

#include "core/globals.h"
#include "engine/html/default_style.h"
#include "engine/html/document_view.h"
#include "engine/html/html_prepass.h"
#include "platform/text.h"
#include "support/temp_dir.h"

namespace {

using namespace quire;

// A chapter of about 300 KB as old books wrote them: paragraphs, tables, pictures.
std::string Chapter(int seed) {
  const std::string words[] = {"поршень", "цилиндр", "коленчатый", "вал",      "шатун", "клапан",
                               "головка", "блока",   "масло",      "давление", "зазор", "кольцо"};
  std::string html =
      "<html><head><title>Глава</title><style><!-- .n { color: #336699 } --></style></head>"
      "<body bgcolor=#FFFFF0><h2 align=center>Глава " +
      std::to_string(seed) + "</h2>";
  size_t w = static_cast<size_t>(seed);
  while (html.size() < 300000) {
    html += "<p align=justify><font face=Arial size=2>";
    for (int i = 0; i < 60; ++i) html += words[w++ % 12] + (i % 9 == 8 ? ", " : " ");
    html += "</font></p><img src=\"../pics/p.bmp\" width=120 height=80 align=right hspace=6>";
    html += "<table border=1 cellpadding=3 cellspacing=0 width=90%><tr bgcolor=silver>";
    for (int c = 0; c < 5; ++c) html += "<th>" + words[(w + c) % 12] + "</th>";
    html += "</tr>";
    for (int r = 0; r < 6; ++r) {
      html += "<tr>";
      for (int c = 0; c < 5; ++c)
        html += "<td class=n>" + std::to_string(r * 10 + c) + ",5 мм</td>";
      html += "</tr>";
    }
    html += "</table>";
  }
  return *platform::Utf8ToCp1251(html + "<p>последнееслово</p></body></html>");
}

struct Book {
  Book() {
    dir.Mkdir("cd/run");
    std::string error;
    g = core::MakeGlobals(*core::LocateBook(dir / "cd/run", std::nullopt, error), dir / "p", error);
    QImage picture(120, 80, QImage::Format_RGB32);
    picture.fill(Qt::gray);
    std::filesystem::create_directories(dir / "cd/run/pics");
    picture.save(QString::fromStdString((dir / "cd/run/pics/p.bmp").string()), "BMP");
  }
  testing::TempDir dir;
  std::unique_ptr<core::Globals> g;
};

// The widgets need an application; the benchmarks draw off screen.
void EnsureApp() {
  static int argc = 1;
  static char name[] = "bench_html";
  static char* argv[] = {name, nullptr};
  if (QApplication::instance()) return;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  new QApplication(argc, argv);
}

Book& TheBook() {
  EnsureApp();
  static Book book;
  return book;
}

// A container that draws nothing and measures text at a fixed advance: the library alone.
class NullContainer : public litehtml::document_container {
 public:
  litehtml::uint_ptr create_font(const char*, int size, int, litehtml::font_style, unsigned,
                                 litehtml::font_metrics* fm) override {
    if (fm) {
      fm->ascent = size * 4 / 5;
      fm->descent = size / 5;
      fm->height = size;
      fm->x_height = size / 2;
    }
    return static_cast<litehtml::uint_ptr>(size);
  }
  void delete_font(litehtml::uint_ptr) override {}
  int text_width(const char* text, litehtml::uint_ptr font) override {
    return static_cast<int>(std::strlen(text) * font / 2);
  }
  void draw_text(litehtml::uint_ptr, const char*, litehtml::uint_ptr, litehtml::web_color,
                 const litehtml::position&) override {}
  int pt_to_px(int pt) const override { return pt * 96 / 72; }
  int get_default_font_size() const override { return 11; }
  const char* get_default_font_name() const override { return "Arial"; }
  void draw_list_marker(litehtml::uint_ptr, const litehtml::list_marker&) override {}
  void load_image(const char*, const char*, bool) override {}
  void get_image_size(const char*, const char*, litehtml::size& sz) override {
    sz.width = 120;
    sz.height = 80;
  }
  void draw_background(litehtml::uint_ptr, const litehtml::background_paint&) override {}
  void draw_borders(litehtml::uint_ptr, const litehtml::borders&, const litehtml::position&,
                    bool) override {}
  void set_caption(const char*) override {}
  void set_base_url(const char*) override {}
  void link(const std::shared_ptr<litehtml::document>&, const litehtml::element::ptr&) override {}
  void on_anchor_click(const char*, const litehtml::element::ptr&) override {}
  void set_cursor(const char*) override {}
  void transform_text(litehtml::tstring&, litehtml::text_transform) override {}
  void import_css(litehtml::tstring&, const litehtml::tstring&, litehtml::tstring&) override {}
  void set_clip(const litehtml::position&, const litehtml::border_radiuses&, bool, bool) override {}
  void del_clip() override {}
  void get_client_rect(litehtml::position& client) const override {
    client = litehtml::position(0, 0, 673, 600);
  }
  std::shared_ptr<litehtml::element> create_element(
      const char*, const litehtml::string_map&,
      const std::shared_ptr<litehtml::document>&) override {
    return nullptr;
  }
  void get_media_features(litehtml::media_features& media) const override {
    media.type = litehtml::media_type_screen;
    media.width = 673;
    media.height = 600;
  }
  void get_language(litehtml::tstring& language, litehtml::tstring& culture) const override {
    language = "ru";
    culture = "ru-RU";
  }
};

void BM_OpenChapter(benchmark::State& state) {
  Book& book = TheBook();
  const std::string bytes = Chapter(1);
  book.dir.Write("cd/run/html/big.htm", bytes);
  engine::html::TDocumentView view(*book.g);
  view.resize(673, 600);
  for (auto _ : state) {
    view.LoadFromFile("d:\\run\\html\\big.htm");
    benchmark::DoNotOptimize(view.DocumentHeight());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_OpenChapter)->Unit(benchmark::kMillisecond);

// Parses and lays out `utf8` with litehtml alone, through a container that draws nothing.
void RunBareLitehtml(benchmark::State& state, const std::string& utf8) {
  NullContainer container;
  for (auto _ : state) {
    litehtml::context context;
    context.load_master_stylesheet(engine::html::DefaultStyleSheet().c_str());
    auto doc = litehtml::document::createFromUTF8(utf8.c_str(), &container, &context);
    doc->render(673);
    benchmark::DoNotOptimize(doc->height());
  }
}

void BM_BareLitehtmlChapter(benchmark::State& state) {
  const std::string bytes = Chapter(1);
  RunBareLitehtml(state, platform::Cp1251ToUtf8(bytes));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_BareLitehtmlChapter)->Unit(benchmark::kMillisecond);

// The same with the text our pre-pass makes: what the mapped style attributes cost the library
// (cells' borders and padding, which our cell elements apply themselves, are left out here).
void BM_BareLitehtmlPreparedChapter(benchmark::State& state) {
  const engine::html::PreparedPage page = engine::html::PreparePage(Chapter(1));
  RunBareLitehtml(state, "<style>" + page.ExtraCss + "</style>" + page.Html);
}
BENCHMARK(BM_BareLitehtmlPreparedChapter)->Unit(benchmark::kMillisecond);

void BM_PrepassChapter(benchmark::State& state) {
  const std::string bytes = Chapter(1);
  for (auto _ : state) benchmark::DoNotOptimize(engine::html::PreparePage(bytes));
}
BENCHMARK(BM_PrepassChapter)->Unit(benchmark::kMillisecond);

// 200 ordinary pages loaded one after another into a hidden view and searched.
void BM_SearchPages(benchmark::State& state) {
  Book& book = TheBook();
  const std::string page = Chapter(2).substr(0, 12000) + "</table><p>искомое</p></body></html>";
  for (int i = 0; i < 200; ++i) book.dir.Write("cd/run/s/p" + std::to_string(i) + ".htm", page);
  auto view = engine::html::TDocumentView::CreateHidden(*book.g);
  const std::string word = *platform::Utf8ToCp1251("искомое");
  for (auto _ : state) {
    for (int i = 0; i < 200; ++i) {
      view->LoadFromFile("d:\\run\\s\\p" + std::to_string(i) + ".htm");
      benchmark::DoNotOptimize(view->Find(word, false));
    }
  }
  state.counters["pages/s"] = benchmark::Counter(static_cast<double>(state.iterations()) * 200,
                                                 benchmark::Counter::kIsRate);
}
BENCHMARK(BM_SearchPages)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
