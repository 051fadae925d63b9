#include "inspect/FileBlocks.h"

#include "platform/NativeFile.h"

#include <algorithm>

namespace vastel {

bool FileBlocks::open(const QByteArray& path) {
    close();
    if (!openNativeForReading(file_, path)) return false;
    size_ = file_.size();
    return true;
}

void FileBlocks::close() {
    file_.close();
    size_ = 0;
    cache_.clear();
    last_ = -1;
}

const QByteArray& FileBlocks::block(qint64 index) {
    if (last_ >= 0 && cache_[last_].index == index) {
        cache_[last_].lastUse = ++clock_;
        return cache_[last_].data;
    }
    for (size_t i = 0; i < cache_.size(); ++i) {
        if (cache_[i].index != index) continue;
        last_ = int(i);
        cache_[i].lastUse = ++clock_;
        return cache_[i].data;
    }
    size_t slot = cache_.size();
    if (cache_.size() < size_t(kMaxBlocks)) {
        cache_.emplace_back();
    } else {
        slot = size_t(
            std::min_element(cache_.begin(), cache_.end(),
                             [](const Entry& a, const Entry& b) { return a.lastUse < b.lastUse; }) -
            cache_.begin());
    }
    Entry& e = cache_[slot];
    const qint64 start = index * kBlockSize;
    const qint64 length = std::min(kBlockSize, size_ - start);
    e.index = index;
    e.data = QByteArray(length, '\0');
    if (file_.seek(start)) {
        qint64 done = 0;
        while (done < length) {
            const qint64 got = file_.read(e.data.data() + done, length - done);
            if (got <= 0) break;
            done += got;
        }
    }
    e.lastUse = ++clock_;
    last_ = int(slot);
    return e.data;
}

const char* FileBlocks::span(qint64 offset, qint64* available) {
    if (offset < 0 || offset >= size_) {
        *available = 0;
        return nullptr;
    }
    const QByteArray& data = block(offset / kBlockSize);
    const qint64 into = offset % kBlockSize;
    *available = data.size() - into;
    return data.constData() + into;
}

int FileBlocks::byteAt(qint64 offset) {
    qint64 available = 0;
    const char* p = span(offset, &available);
    return available > 0 ? quint8(*p) : -1;
}

QByteArray FileBlocks::read(qint64 offset, qint64 length) {
    QByteArray out;
    if (offset < 0) return out;
    length = std::min(length, size_ - offset);
    if (length <= 0) return out;
    out.reserve(length);
    while (length > 0) {
        qint64 available = 0;
        const char* p = span(offset, &available);
        if (available <= 0) break;
        const qint64 n = std::min(available, length);
        out.append(p, n);
        offset += n;
        length -= n;
    }
    return out;
}

}  // namespace vastel
