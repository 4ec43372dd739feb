// Picture files a window loads while it starts, decoded on a background thread meanwhile, so
// that building its controls and decoding its pictures share the machine's processors.
//
// While a prefetch is running, DecodePictureFile (and LoadPictureFile) of one of its files takes
// that file's picture: already decoded, waited for while the thread decodes it, or decoded by
// the caller itself when the thread has not come to it yet. Each picture is handed out once;
// later loads of the same file read it again, and what nobody took is dropped when the prefetch
// ends.
#pragma once

#include <QImage>
#include <QString>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

namespace qx::skin {

class PicturePrefetch {
  public:
    // Starts decoding `paths` in their order and becomes the running prefetch (replacing any
    // earlier one, whose pictures are then read from their files again).
    explicit PicturePrefetch(std::vector<QString> paths);
    // Stops taking files, waits for the one being decoded, and is no longer the running one.
    ~PicturePrefetch();
    PicturePrefetch(const PicturePrefetch&) = delete;
    PicturePrefetch& operator=(const PicturePrefetch&) = delete;

    struct Files;

  private:
    std::shared_ptr<Files> files_;
    std::thread thread_;
};

// The picture of `path` when the running prefetch holds it and it was not handed out yet.
std::optional<QImage> TakePrefetchedPicture(const QString& path);

}  // namespace qx::skin
