#pragma once

#include <QtGlobal>
#include <cstddef>
#include <memory>

namespace vastel {

// A 128-bit digest of file contents. It only narrows the candidates of the content
// comparison: equal digests are always confirmed byte by byte.
struct ContentDigest {
    quint64 low = 0;
    quint64 high = 0;
    friend bool operator==(const ContentDigest&, const ContentDigest&) = default;
    friend bool operator<(const ContentDigest& a, const ContentDigest& b) {
        return a.high != b.high ? a.high < b.high : a.low < b.low;
    }
};

// An incremental hash over blocks of a file. One object per reading thread.
class ContentHasher {
  public:
    virtual ~ContentHasher() = default;
    virtual void reset() = 0;
    virtual void add(const char* data, size_t size) = 0;
    virtual ContentDigest digest() = 0;
    // The digest of one buffer: the same value as reset, add and digest.
    virtual ContentDigest hashOf(const char* data, size_t size);
};

// XXH3-128 when the program was built with libxxhash, the built-in hash otherwise.
std::unique_ptr<ContentHasher> makeContentHasher();
const char* contentHashName();  // "XXH3-128" or "built-in 128-bit"

// The built-in hash, whatever the build uses: four multiply-rotate lanes over 32-byte stripes.
std::unique_ptr<ContentHasher> makeBuiltinHasher();

}  // namespace vastel
