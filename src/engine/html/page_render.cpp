#include "engine/html/page_render.h"

#include "engine/html/document_view.h"
#include "engine/html/frame_viewer.h"
#include "platform/text.h"

namespace quire::engine::html {

std::string BookPagePath(const core::Globals& g, const std::string& path) {
  if ((path.size() >= 2 && path[1] == ':') || path.starts_with("\\\\")) return path;
  std::string relative = path;
  for (char& c : relative) {
    if (c == '/') c = '\\';
  }
  while (relative.starts_with("\\")) relative.erase(0, 1);
  return g.ExeDir + relative;
}

QImage RenderPage(const core::Globals& g, const std::string& path, int width, int frameHeight) {
  TFrameViewer viewer(g);
  viewer.setAttribute(Qt::WA_DontShowOnScreen);
  viewer.resize(std::max(width, 1), std::max(frameHeight, 1));
  viewer.LoadFromFile(BookPagePath(g, path));
  const std::vector<TDocumentView*> views = viewer.Views();
  if (views.size() == 1) {
    // A plain page grows to its content; twice, since the scroll bar goes away.
    for (int i = 0; i < 2; ++i) {
      const int height = std::clamp(views[0]->DocumentHeight(), 1, 30000);
      viewer.resize(viewer.width(), height);
    }
  }
  return viewer.grab().toImage();
}

std::string PageText(const core::Globals& g, const std::string& path) {
  TFrameViewer viewer(g);
  viewer.setAttribute(Qt::WA_DontShowOnScreen);
  viewer.SetViewImages(false);
  viewer.resize(kReadingWidth, 600);
  viewer.LoadFromFile(BookPagePath(g, path));
  std::string out;
  for (TDocumentView* view : viewer.Views()) {
    const std::string text = view->DocumentText();
    size_t start = 0;
    while (start <= text.size()) {
      size_t end = text.find('\n', start);
      if (end == std::string::npos) end = text.size();
      const std::string line = platform::Trim(text.substr(start, end - start));
      if (!line.empty()) out += line + "\n";
      start = end + 1;
    }
  }
  return out;
}

}  // namespace quire::engine::html
