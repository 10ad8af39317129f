#include "engine/html/picture_store.h"

#include <QImageReader>

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

QSize TPictureStore::SizeOf(const std::string& fullName) {
  const QImage* image = Get(fullName);
  return image ? image->size() : QSize();
}

}  // namespace quire::engine::html
