#include "platform/RandomStream.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/rand.h>
#include <sys/random.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace scorvane {

namespace {
constexpr std::size_t kPoolSize = 16 * 1024;
// The key stream is AES applied to a counter: encrypting zeros yields it directly.
constexpr std::size_t kZeroBlock = 256 * 1024;
const std::uint8_t* Zeros() {
    static const std::vector<std::uint8_t> zeros(kZeroBlock, 0);
    return zeros.data();
}

// The generator cannot go on. Nothing may be written as random that is not, and no exception may cross
// the event loop that called for the bytes: the program says so and ends at once.
[[noreturn]] void EndTheProgram(const char* what) {
    std::fprintf(stderr, "Scorvane must stop: %s.\n", what);
    std::fflush(nullptr);
    std::_Exit(EXIT_FAILURE);
}
}  // namespace

struct RandomStream::Cipher {
    EVP_CIPHER_CTX* context = nullptr;
    ~Cipher() { EVP_CIPHER_CTX_free(context); }
    void Encrypt(std::uint8_t* out, std::size_t size) {
        while (size > 0) {
            const std::size_t part = std::min(size, kZeroBlock);
            int written = 0;
            if (EVP_EncryptUpdate(context, out, &written, Zeros(), static_cast<int>(part)) != 1) {
                EndTheProgram("its random generator failed");
            }
            out += part;
            size -= part;
        }
    }
};

bool RandomStream::SystemSeed(std::span<std::uint8_t> seed) {
    std::size_t filled = 0;
    while (filled < seed.size()) {
        const ssize_t got = ::getrandom(seed.data() + filled, seed.size() - filled, 0);
        if (got > 0) {
            filled += static_cast<std::size_t>(got);
        } else if (got < 0 && errno == EINTR) {
            continue;
        } else {
            // A kernel or a filter without getrandom: OpenSSL's own source, once.
            return RAND_bytes(seed.data(), static_cast<int>(seed.size())) == 1;
        }
    }
    return true;
}

std::unique_ptr<RandomStream> RandomStream::FromSystem(SeedSource source) {
    Seed seed{};
    if (!source(seed)) {
        std::fputs("Scorvane cannot start: the operating system gives no random bytes to seed its generator.\n",
                   stderr);
        std::exit(EXIT_FAILURE);
    }
    auto stream = std::unique_ptr<RandomStream>(new RandomStream(seed));
    OPENSSL_cleanse(seed.data(), seed.size());  // a plain memset of a dying buffer may be left out by the compiler
    return stream;
}

std::unique_ptr<RandomStream> RandomStream::FromSeed(const Seed& seed) {
    return std::unique_ptr<RandomStream>(new RandomStream(seed));
}

RandomStream::RandomStream(const Seed& seed) : cipher_(std::make_unique<Cipher>()) {
    cipher_->context = EVP_CIPHER_CTX_new();
    if (cipher_->context == nullptr ||
        EVP_EncryptInit_ex(cipher_->context, EVP_aes_128_ctr(), nullptr, seed.data(), seed.data() + 16) != 1) {
        EndTheProgram("its random generator cannot start");
    }
}

RandomStream::~RandomStream() = default;

void RandomStream::Refill() {
    pool_.resize(kPoolSize);
    cipher_->Encrypt(pool_.data(), pool_.size());
    poolPos_ = 0;
}

void RandomStream::Fill(std::span<std::uint8_t> out) {
    // Take what the pool still holds first, so that small and large requests share one stream.
    std::size_t done = 0;
    while (done < out.size() && poolPos_ < pool_.size()) out[done++] = pool_[poolPos_++];
    if (done < out.size()) cipher_->Encrypt(out.data() + done, out.size() - done);
}

void RandomStream::FillDigits(std::span<std::uint8_t> out) {
    Fill(out);
    for (auto& byte : out) {
        // 250 is the largest multiple of 10 below 256: bytes above it are drawn again.
        while (byte >= 250) {
            if (poolPos_ >= pool_.size()) Refill();
            byte = pool_[poolPos_++];
        }
        byte = static_cast<std::uint8_t>('0' + byte % 10);
    }
}

std::uint32_t RandomStream::Next32() {
    if (poolPos_ + 4 > pool_.size()) Refill();
    std::uint32_t value;
    std::memcpy(&value, pool_.data() + poolPos_, sizeof value);
    poolPos_ += 4;
    return value;
}

double RandomStream::NextUnit() { return static_cast<double>(Next32() >> 8) / static_cast<double>(1U << 24); }

}  // namespace scorvane
