#include "ui/SkinPictureCache.h"

#include "shell/Paths.h"
#include "ui/LargeImage.h"
#include "ui/SkinPicture.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>

#include <condition_variable>
#include <deque>
#include <functional>
#include <future>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>

namespace vantor {

namespace {

constexpr int kMargin = 100;

// The picture at (0,0) of a black canvas of the pixmap's size; nothing when it does not decode.
// A picture that decodes to the canvas's own format (a colour JPEG does) is decoded straight
// into the canvas's top-left corner, through an image over the canvas's lines: the reader
// reuses an image of the same size and format. Anything else is decoded on its own and drawn.
// Each full-window picture is then one fresh allocation, in large pages, instead of three,
// which is most of what decoding costs at start-up. QImage and QPainter on a QImage may run on
// any thread.
std::optional<QImage> ComposeStatePicture(const QString& path, const QSize& size) {
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    const QSize pictureSize = reader.size();
    QImage canvas = NewLargeImage(size, QImage::Format_RGB32);
    if (canvas.isNull()) return std::nullopt;
    const bool fits = pictureSize.isValid() && pictureSize.width() <= size.width() &&
                      pictureSize.height() <= size.height();
    QImage picture = fits ? QImage(canvas.bits(), pictureSize.width(), pictureSize.height(),
                                   canvas.bytesPerLine(), QImage::Format_RGB32)
                          : QImage();
    if (!reader.read(&picture)) return std::nullopt;
    QPainter painter(&canvas);
    if (picture.constBits() == canvas.constBits()) {
        const int width = picture.width(), height = picture.height();
        painter.fillRect(QRect(width, 0, size.width() - width, height), Qt::black);
        painter.fillRect(QRect(0, height, size.width(), size.height() - height), Qt::black);
    } else {
        painter.fillRect(canvas.rect(), Qt::black);
        painter.drawImage(QPoint(0, 0), picture);
    }
    return canvas;
}

// Keyed by the file and the pixmap size: the same picture behind two windows of different size
// gives two pixmaps.
using Key = std::pair<QString, std::pair<int, int>>;
using Decoding = std::shared_future<std::optional<QImage>>;

// The one decoding thread: it takes the pictures in the order asked for, and leaves the other
// processor to the thread that sets the window up. The work reaches it through its own locked
// queue, a hand-over ThreadSanitizer sees.
class DecodingWorker {
public:
    DecodingWorker() = default;
    DecodingWorker(const DecodingWorker&) = delete;
    DecodingWorker& operator=(const DecodingWorker&) = delete;

    // Drops what has not started and waits for the decoding under way.
    ~DecodingWorker() {
        {
            std::lock_guard lock(m_mutex);
            m_stopping = true;
            m_queue.clear();
        }
        m_wake.notify_all();
        if (m_thread.joinable()) m_thread.join();
    }

    void Start(std::function<void()> work) {
        {
            std::lock_guard lock(m_mutex);
            m_queue.push_back(std::move(work));
            if (!m_thread.joinable()) m_thread = std::thread([this] { Run(); });
        }
        m_wake.notify_one();
    }

private:
    void Run() {
        for (;;) {
            std::function<void()> work;
            {
                std::unique_lock lock(m_mutex);
                m_wake.wait(lock, [this] { return m_stopping || !m_queue.empty(); });
                if (m_stopping) return;
                work = std::move(m_queue.front());
                m_queue.pop_front();
            }
            work();
        }
    }

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<std::function<void()>> m_queue;
    bool m_stopping = false;
    std::thread m_thread;
};

struct Store {
    std::map<Key, std::unique_ptr<QPixmap>> pixmaps;
    // Pixmaps still null, by their address, with the decoding that will fill them (none yet
    // while held back).
    struct Pending {
        QPixmap* pixmap;
        QString path;
        QSize size;
        std::optional<Decoding> decoding;
    };
    std::map<const QPixmap*, Pending> pending;
    // Last, so it is the first to go: its destructor waits for the decoding under way.
    DecodingWorker worker;
};

Store*& StorePointer() {
    static Store* store = nullptr;
    return store;
}

// Pixmaps must go before the application does.
void DropStore() {
    delete StorePointer();
    StorePointer() = nullptr;
}

Store& GetStore() {
    Store*& store = StorePointer();
    if (!store) {
        store = new Store;
        qAddPostRoutine(DropStore);
    }
    return *store;
}

QSize PixmapSize(const QSize& clientSize) {
    return {std::max(clientSize.width(), 0) + kMargin, std::max(clientSize.height(), 0) + kMargin};
}

void Fill(QPixmap& pixmap, std::optional<QImage> canvas) {
    if (!canvas) ExitForMissingSkinPicture();
    // Moved in, a raster pixmap takes the canvas's memory as it is.
    pixmap = QPixmap::fromImage(*std::move(canvas));
}

// Queues the decoding of a pending picture on the worker.
void StartDecoding(Store& store, Store::Pending& pending) {
    auto decoded = std::make_shared<std::promise<std::optional<QImage>>>();
    pending.decoding = decoded->get_future().share();
    store.worker.Start([decoded, path = pending.path, size = pending.size] {
        decoded->set_value(ComposeStatePicture(path, size));
    });
}

// Holds a picture back again, with no decoding: one under way finishes on the worker and its
// result is dropped with the last reference to it.
void ReleasePixmap(Store& store, const Key& key, QPixmap& pixmap) {
    const QSize size(key.second.first, key.second.second);
    store.pending.insert_or_assign(&pixmap, Store::Pending{&pixmap, key.first, size, std::nullopt});
    pixmap = QPixmap();
}

}  // namespace

const QPixmap* SkinPictureCache::StatePicture(const QString& relativeName,
                                              const QSize& clientSize) {
    return StatePictureOfFile(AppPaths::Current()->ResolveProgramFile(relativeName), clientSize);
}

const QPixmap* SkinPictureCache::StatePictureOfFile(const QString& path, const QSize& clientSize) {
    const QSize size = PixmapSize(clientSize);
    Store& store = GetStore();
    const Key key{path, {size.width(), size.height()}};
    if (auto it = store.pixmaps.find(key); it != store.pixmaps.end()) {
        return Ready(it->second.get());
    }
    auto pixmap = std::make_unique<QPixmap>();
    Fill(*pixmap, ComposeStatePicture(path, size));
    return store.pixmaps.emplace(key, std::move(pixmap)).first->second.get();
}

const QPixmap* SkinPictureCache::DecodingStatePicture(const QString& relativeName,
                                                      const QSize& clientSize, Start start) {
    const QString path = AppPaths::Current()->ResolveProgramFile(relativeName);
    const QSize size = PixmapSize(clientSize);
    Store& store = GetStore();
    const Key key{path, {size.width(), size.height()}};
    if (auto it = store.pixmaps.find(key); it != store.pixmaps.end()) {
        return it->second.get();
    }
    if (path.isEmpty() || !QFileInfo(path).isFile()) ExitForMissingSkinPicture();
    QPixmap* pixmap = store.pixmaps.emplace(key, std::make_unique<QPixmap>()).first->second.get();
    Store::Pending& pending =
        store.pending.emplace(pixmap, Store::Pending{pixmap, path, size, std::nullopt})
            .first->second;
    // The worker takes them in the order asked for: a window asks first for what it shows first.
    if (start == Start::AtOnce) StartDecoding(store, pending);
    return pixmap;
}

void SkinPictureCache::DecodeHeldBack() {
    Store* store = StorePointer();
    if (!store) return;
    for (auto& [address, pending] : store->pending) {
        if (!pending.decoding) StartDecoding(*store, pending);
    }
}

const QPixmap* SkinPictureCache::Ready(const QPixmap* picture) {
    Store* store = StorePointer();
    if (!picture || !store || store->pending.empty()) return picture;
    const auto found = store->pending.find(picture);
    if (found == store->pending.end()) return picture;
    const Store::Pending pending = found->second;
    store->pending.erase(found);
    Fill(*pending.pixmap, pending.decoding ? pending.decoding->get()
                                           : ComposeStatePicture(pending.path, pending.size));
    return picture;
}

void SkinPictureCache::Release(const QPixmap* picture) {
    Store* store = StorePointer();
    if (!picture || !store) return;
    for (auto& [key, pixmap] : store->pixmaps) {
        if (pixmap.get() == picture) {
            ReleasePixmap(*store, key, *pixmap);
            return;
        }
    }
}

void SkinPictureCache::ReleaseAll() {
    Store* store = StorePointer();
    if (!store) return;
    for (auto& [key, pixmap] : store->pixmaps) ReleasePixmap(*store, key, *pixmap);
}

void SkinPictureCache::Restore(const QPixmap* picture) {
    Store* store = StorePointer();
    if (!store) return;
    const auto found = store->pending.find(picture);
    if (found == store->pending.end() || found->second.decoding) return;
    StartDecoding(*store, found->second);
}

int SkinPictureCache::Count() {
    const Store* store = StorePointer();
    return store ? static_cast<int>(store->pixmaps.size()) : 0;
}

}  // namespace vantor
