// The pictures of the pages a view shows, read through the content stream and decoded once;
// animated GIFs keep playing.
#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QMovie>
#include <QObject>
#include <QSize>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/globals.h"

namespace quire::engine::html {

class TPictureStore : public QObject {
  Q_OBJECT
 public:
  explicit TPictureStore(const core::Globals& g, QObject* parent = nullptr);
  ~TPictureStore() override;

  // Decodes the picture of a full virtual name on first use; null when it cannot be read.
  const QImage* Get(const std::string& fullName);
  QSize SizeOf(const std::string& fullName);
  void Clear();
  // Pixel size of the picture decoded last.
  QSize LastDecodedSize() const { return lastSize_; }

 signals:
  // A frame of an animation changed.
  void Changed();

 private:
  struct Picture {
    QImage Image;
    QByteArray Data;
    std::unique_ptr<QBuffer> Buffer;
    std::unique_ptr<QMovie> Movie;
  };
  const core::Globals& g_;
  std::map<std::string, std::unique_ptr<Picture>> pictures_;
  QSize lastSize_;
};

// The picture stores of the pages shown last, so that a page shown again finds its pictures
// decoded. Pages on screen always keep theirs; Trim says how many others do.
class TPictureCache {
 public:
  explicit TPictureCache(const core::Globals& g) : g_(g) {}
  // The store for a page about to be shown: the one it had if still kept, else a new one.
  std::shared_ptr<TPictureStore> StoreFor(const std::string& file);
  // Pages (name, store) now on screen; of the others, the `keep` shown last keep their
  // pictures and the rest let them go.
  using Page = std::pair<std::string, std::shared_ptr<TPictureStore>>;
  void Trim(const std::vector<Page>& onScreen, int keep);

 private:
  const core::Globals& g_;
  std::vector<Page> recent_;  // by lower-case name, the newest first
};

}  // namespace quire::engine::html
