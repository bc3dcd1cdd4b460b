#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace scorvane {

// The program's one random generator: the AES-128-CTR key stream of OpenSSL, seeded once from the
// operating system and never reseeded. A fixed seed gives a repeatable stream for tests.
class RandomStream {
public:
    using Seed = std::array<std::uint8_t, 32>;  // key and counter block

    // Fills `seed` with the operating system's random bytes: false when it gives none.
    using SeedSource = bool (*)(std::span<std::uint8_t> seed);
    static bool SystemSeed(std::span<std::uint8_t> seed);
    // Seeded from `source`. Without a seed nothing can be wiped safely: the program then says so on
    // stderr and exits with status 1, before any window is shown.
    static std::unique_ptr<RandomStream> FromSystem(SeedSource source = SystemSeed);
    static std::unique_ptr<RandomStream> FromSeed(const Seed& seed);
    ~RandomStream();
    RandomStream(const RandomStream&) = delete;
    RandomStream& operator=(const RandomStream&) = delete;

    // Random bytes 0 to 255.
    void Fill(std::span<std::uint8_t> out);
    // Random digit characters '0' to '9', each equally likely.
    void FillDigits(std::span<std::uint8_t> out);
    // A draw r with 0 <= r < 1, of single precision (24 random bits).
    double NextUnit();

private:
    explicit RandomStream(const Seed& seed);
    std::uint32_t Next32();
    void Refill();

    struct Cipher;
    std::unique_ptr<Cipher> cipher_;
    std::vector<std::uint8_t> pool_;
    std::size_t poolPos_ = 0;
};

}  // namespace scorvane
