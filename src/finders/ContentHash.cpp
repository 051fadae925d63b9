#include "finders/ContentHash.h"

#include <QtEndian>
#include <cstring>

#ifdef VASTEL_HAVE_XXHASH
#include <xxhash.h>
#endif

namespace vastel {

ContentDigest ContentHasher::hashOf(const char* data, size_t size) {
    reset();
    add(data, size);
    return digest();
}

namespace {

// Odd 64-bit multipliers and lane seeds, drawn at random once.
constexpr quint64 kLaneMul[4] = {0xa5a9e2d37bc27155ull, 0xca1631d51a875c85ull,
                                 0xba1301fd4aa6a5a1ull, 0xa03996af66cd6dadull};
constexpr quint64 kSeed[4] = {0xa049f9e269442195ull, 0xa47fa7a8d2345103ull, 0xee7a58fa365ddf73ull,
                              0xcf862bc59a50d7c9ull};
constexpr quint64 kFinMul1 = 0xfbb5ead834bac0f9ull;
constexpr quint64 kFinMul2 = 0xe91a2d49371decf9ull;

constexpr quint64 rotl(quint64 x, int r) { return (x << r) | (x >> (64 - r)); }

// Spreads every input bit over the whole word.
constexpr quint64 settle(quint64 x) {
    x ^= x >> 31;
    x *= kFinMul1;
    x ^= x >> 29;
    x *= kFinMul2;
    x ^= x >> 32;
    return x;
}

// Four independent lanes keep the multiplier busy; each word is folded in by xor, an odd
// multiply (a bijection, so no state is lost) and a rotation that brings the well-mixed high
// bits of the product down to where the next multiply spreads them again.
class BuiltinHasher final : public ContentHasher {
  public:
    BuiltinHasher() { reset(); }

    void reset() override {
        std::memcpy(lanes_, kSeed, sizeof lanes_);
        length_ = 0;
        pending_ = 0;
    }

    void add(const char* data, size_t size) override {
        length_ += size;
        if (pending_ > 0) {
            const size_t take = std::min(size, kStripe - pending_);
            std::memcpy(buffer_ + pending_, data, take);
            pending_ += take;
            data += take;
            size -= take;
            if (pending_ < kStripe) return;
            stripe(buffer_);
            pending_ = 0;
        }
        while (size >= kStripe) {
            stripe(data);
            data += kStripe;
            size -= kStripe;
        }
        if (size > 0) {
            std::memcpy(buffer_, data, size);
            pending_ = size;
        }
    }

    ContentDigest digest() override {
        quint64 lanes[4];
        std::memcpy(lanes, lanes_, sizeof lanes);
        if (pending_ > 0) {
            // Zero padding is told apart from real zeros by the length mixed in below.
            char last[kStripe] = {};
            std::memcpy(last, buffer_, pending_);
            mix(lanes, last);
        }
        const quint64 x = settle(lanes[0] + length_ * kLaneMul[3]);
        const quint64 y = settle(lanes[1] ^ rotl(x, 17));
        const quint64 z = settle(lanes[2] + rotl(y, 41));
        const quint64 w = settle(lanes[3] ^ rotl(z, 23));
        ContentDigest d;
        d.low = settle(w + rotl(x, 21) + length_);
        d.high = settle(z ^ rotl(y, 43) ^ (d.low * kLaneMul[0]));
        return d;
    }

  private:
    static constexpr size_t kStripe = 32;

    static void mix(quint64* lanes, const char* p) {
        for (int i = 0; i < 4; ++i) {
            const quint64 word = qFromLittleEndian<quint64>(p + 8 * i);
            lanes[i] = rotl((lanes[i] ^ word) * kLaneMul[i], 29);
        }
    }
    void stripe(const char* p) { mix(lanes_, p); }

    quint64 lanes_[4];
    quint64 length_ = 0;
    char buffer_[kStripe];
    size_t pending_ = 0;
};

#ifdef VASTEL_HAVE_XXHASH
class Xxh3Hasher final : public ContentHasher {
  public:
    Xxh3Hasher() : state_(XXH3_createState()) { reset(); }
    ~Xxh3Hasher() override { XXH3_freeState(state_); }
    Xxh3Hasher(const Xxh3Hasher&) = delete;
    Xxh3Hasher& operator=(const Xxh3Hasher&) = delete;

    void reset() override { XXH3_128bits_reset(state_); }
    void add(const char* data, size_t size) override { XXH3_128bits_update(state_, data, size); }
    ContentDigest digest() override {
        const XXH128_hash_t h = XXH3_128bits_digest(state_);
        return {h.low64, h.high64};
    }
    ContentDigest hashOf(const char* data, size_t size) override {
        const XXH128_hash_t h = XXH3_128bits(data, size);
        return {h.low64, h.high64};
    }

  private:
    XXH3_state_t* state_;
};
#endif

}  // namespace

std::unique_ptr<ContentHasher> makeBuiltinHasher() { return std::make_unique<BuiltinHasher>(); }

std::unique_ptr<ContentHasher> makeContentHasher() {
#ifdef VASTEL_HAVE_XXHASH
    return std::make_unique<Xxh3Hasher>();
#else
    return makeBuiltinHasher();
#endif
}

const char* contentHashName() {
#ifdef VASTEL_HAVE_XXHASH
    return "XXH3-128";
#else
    return "built-in 128-bit";
#endif
}

}  // namespace vastel
