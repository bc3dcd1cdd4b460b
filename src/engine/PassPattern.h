#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "engine/PassPlans.h"
#include "platform/FileServices.h"

namespace scorvane {

class RandomStream;

// Writes of a few MiB at most, however large the file: memory stays bounded. A multiple of 3, so that
// the 3-byte cycles of the 35-pass patterns keep their phase from block to block.
inline constexpr std::size_t kWriteBlock = 3 * 1024 * 1024;
static_assert(kWriteBlock % 3 == 0, "a 3-byte cycle must start each block in the same phase");

// The bytes of one pass, produced in order from the file's first byte, block by block.
class PassPattern {
public:
    virtual ~PassPattern() = default;
    // The next `size` bytes (size at most kWriteBlock).
    virtual std::span<const std::uint8_t> Next(std::size_t size) = 0;
};

// Random bytes of a range, drawn afresh for every block.
class RandomPattern final : public PassPattern {
public:
    RandomPattern(RandomStream& random, ByteRange range) : random_(random), range_(range) {}
    std::span<const std::uint8_t> Next(std::size_t size) override;

private:
    RandomStream& random_;
    ByteRange range_;
    std::vector<std::uint8_t> block_;
};

// A cycle of one to three bytes repeated from the file's first byte, for a file of `length` bytes.
class CyclePattern final : public PassPattern {
public:
    CyclePattern(const std::vector<std::uint8_t>& cycle, std::int64_t length);
    std::span<const std::uint8_t> Next(std::size_t size) override;

private:
    std::vector<std::uint8_t> block_;
};

// Writes `count` bytes of `pattern` at the file's current position, block by block.
Result<> WritePattern(FileServices& files, FileHandle file, std::int64_t count, PassPattern& pattern);

}  // namespace scorvane
