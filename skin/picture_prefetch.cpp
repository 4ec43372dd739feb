#include "skin/picture_prefetch.h"

#include <condition_variable>
#include <mutex>
#include <utility>

#include "skin/picture_file.h"

namespace qx::skin {

// Each file is decoded once, by the thread or by the first caller that asks for it before the
// thread started on it. The state lives apart from the PicturePrefetch object so that a caller
// still waiting when the prefetch ends keeps it alive.
struct PicturePrefetch::Files {
    enum class State { kWaiting, kDecoding, kDecoded, kHandedOut };
    struct File {
        QString path;
        State state = State::kWaiting;
        QImage picture;
    };

    std::mutex mutex;
    std::condition_variable decoded;
    std::vector<File> files;
    bool stopping = false;

    File* Find(const QString& path) {
        for (File& file : files) {
            if (file.path == path) {
                return &file;
            }
        }
        return nullptr;
    }

    // The thread's loop: the next file nobody took, decoded without the lock held.
    void Run() {
        for (File& file : files) {
            std::unique_lock lock(mutex);
            if (stopping) {
                return;
            }
            if (file.state != State::kWaiting) {
                continue;
            }
            file.state = State::kDecoding;
            lock.unlock();
            QImage picture = DecodePictureBytes(ReadPictureBytes(file.path));
            lock.lock();
            file.picture = std::move(picture);
            file.state = State::kDecoded;
            decoded.notify_all();
        }
    }

    std::optional<QImage> Take(const QString& path) {
        std::unique_lock lock(mutex);
        File* file = Find(path);
        if (file == nullptr || file->state == State::kHandedOut) {
            return std::nullopt;
        }
        if (file->state == State::kWaiting) {
            file->state = State::kHandedOut;
            lock.unlock();
            return DecodePictureBytes(ReadPictureBytes(path));
        }
        // Another caller waiting for the same file may take it first.
        decoded.wait(lock, [file] { return file->state != State::kDecoding; });
        if (file->state == State::kHandedOut) {
            return std::nullopt;
        }
        file->state = State::kHandedOut;
        return std::move(file->picture);
    }
};

namespace {

// The running prefetch. Taken by copy under the lock, so that a prefetch ending while a caller
// waits on one of its files keeps the files alive until that caller has its picture.
struct Running {
    std::mutex mutex;
    std::shared_ptr<PicturePrefetch::Files> files;
};

Running& TheRunning() {
    static Running running;
    return running;
}

}  // namespace

PicturePrefetch::PicturePrefetch(std::vector<QString> paths) : files_(std::make_shared<Files>()) {
    for (QString& path : paths) {
        if (files_->Find(path) == nullptr) {
            Files::File file;
            file.path = std::move(path);
            files_->files.push_back(std::move(file));
        }
    }
    {
        Running& running = TheRunning();
        const std::scoped_lock lock(running.mutex);
        running.files = files_;
    }
    thread_ = std::thread([files = files_] { files->Run(); });
}

PicturePrefetch::~PicturePrefetch() {
    {
        const std::scoped_lock lock(files_->mutex);
        files_->stopping = true;
    }
    thread_.join();
    Running& running = TheRunning();
    const std::scoped_lock lock(running.mutex);
    if (running.files == files_) {
        running.files.reset();
    }
}

std::optional<QImage> TakePrefetchedPicture(const QString& path) {
    std::shared_ptr<PicturePrefetch::Files> files;
    {
        Running& running = TheRunning();
        const std::scoped_lock lock(running.mutex);
        files = running.files;
    }
    return files ? files->Take(path) : std::nullopt;
}

}  // namespace qx::skin
