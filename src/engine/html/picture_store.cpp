#include "engine/html/picture_store.h"

#include <QImageReader>
#include <algorithm>

#include "platform/text.h"
#include "storage/compr_stream.h"

namespace quire::engine::html {

TPictureStore::TPictureStore(const core::Globals& g, QObject* parent) : QObject(parent), g_(g) {}

TPictureStore::~TPictureStore() = default;

void TPictureStore::Clear() {
  pictures_.clear();
}

const QImage* TPictureStore::Get(const std::string& fullName) {
  const std::string key = platform::AnsiLowerCase(fullName);
  auto it = pictures_.find(key);
  if (it == pictures_.end()) {
    auto picture = std::make_unique<Picture>();
    try {
      if (storage::ContentFileExists(g_, fullName)) {
        storage::TComprStream stream(g_, fullName);
        picture->Data = QByteArray::fromStdString(stream.TakeBytes());
      }
    } catch (const std::exception&) {
      picture->Data.clear();
    }
    if (!picture->Data.isEmpty()) {
      picture->Buffer = std::make_unique<QBuffer>(&picture->Data);
      picture->Buffer->open(QIODevice::ReadOnly);
      QImageReader reader(picture->Buffer.get());
      reader.setDecideFormatFromContent(true);
      const bool animated = reader.supportsAnimation() && reader.imageCount() != 1;
      picture->Buffer->seek(0);
      if (animated) {
        picture->Movie = std::make_unique<QMovie>(picture->Buffer.get());
        picture->Movie->setCacheMode(QMovie::CacheNone);
        Picture* raw = picture.get();
        connect(picture->Movie.get(), &QMovie::frameChanged, this, [this, raw](int) {
          raw->Image = raw->Movie->currentImage();
          emit Changed();
        });
        picture->Movie->jumpToFrame(0);
        picture->Image = picture->Movie->currentImage();
        if (picture->Movie->frameCount() != 1) picture->Movie->start();
      } else {
        QImageReader still(picture->Buffer.get());
        still.setDecideFormatFromContent(true);
        picture->Image = still.read();
      }
      if (!picture->Image.isNull()) lastSize_ = picture->Image.size();
    }
    it = pictures_.emplace(key, std::move(picture)).first;
  }
  return it->second->Image.isNull() ? nullptr : &it->second->Image;
}

std::shared_ptr<TPictureStore> TPictureCache::StoreFor(const std::string& file) {
  const std::string key = platform::AnsiLowerCase(file);
  auto it =
      std::find_if(recent_.begin(), recent_.end(), [&](const Page& p) { return p.first == key; });
  if (it != recent_.end()) return it->second;
  auto store = std::make_shared<TPictureStore>(g_);
  recent_.insert(recent_.begin(), {key, store});
  return store;
}

void TPictureCache::Trim(const std::vector<Page>& onScreen, int keep) {
  std::vector<Page> kept;
  auto isKept = [&](const Page& page) {
    return std::any_of(kept.begin(), kept.end(),
                       [&](const Page& k) { return k.second == page.second; });
  };
  for (const auto& [file, store] : onScreen) {
    Page page{platform::AnsiLowerCase(file), store};
    if (store && !isKept(page)) kept.push_back(std::move(page));
  }
  const size_t limit = kept.size() + static_cast<size_t>(std::max(keep, 0));
  for (Page& page : recent_) {
    if (isKept(page)) continue;
    if (kept.size() < limit) {
      kept.push_back(std::move(page));
    } else {
      page.second->Clear();  // a page still in the history decodes them again when shown
    }
  }
  recent_ = std::move(kept);
}

QSize TPictureStore::SizeOf(const std::string& fullName) {
  const QImage* image = Get(fullName);
  return image ? image->size() : QSize();
}

}  // namespace quire::engine::html
