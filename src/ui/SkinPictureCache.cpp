#include "ui/SkinPictureCache.h"

#include "shell/Paths.h"
#include "ui/SkinPicture.h"

#include <QCoreApplication>
#include <QPainter>

#include <map>
#include <memory>
#include <utility>

namespace vantor {

namespace {

// Keyed by the file and the pixmap size: the same picture behind two windows of different size
// gives two pixmaps.
using Key = std::pair<QString, std::pair<int, int>>;
using Store = std::map<Key, std::unique_ptr<QPixmap>>;

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

constexpr int kMargin = 100;

}  // namespace

const QPixmap* SkinPictureCache::StatePicture(const QString& relativeName,
                                              const QSize& clientSize) {
    return StatePictureOfFile(AppPaths::Current()->ResolveProgramFile(relativeName), clientSize);
}

const QPixmap* SkinPictureCache::StatePictureOfFile(const QString& path, const QSize& clientSize) {
    const QSize size(std::max(clientSize.width(), 0) + kMargin,
                     std::max(clientSize.height(), 0) + kMargin);
    Store& store = GetStore();
    const Key key{path, {size.width(), size.height()}};
    if (auto it = store.find(key); it != store.end()) {
        return it->second.get();
    }
    const QImage picture = LoadSkinPictureOrExit(path);
    auto pixmap = std::make_unique<QPixmap>(size);
    pixmap->fill(Qt::black);
    {
        QPainter painter(pixmap.get());
        painter.drawImage(QPoint(0, 0), picture);
    }
    return store.emplace(key, std::move(pixmap)).first->second.get();
}

int SkinPictureCache::Count() {
    const Store* store = StorePointer();
    return store ? static_cast<int>(store->size()) : 0;
}

}  // namespace vantor
