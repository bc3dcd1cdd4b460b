#include "engine/PassPattern.h"

#include <algorithm>

#include "platform/RandomStream.h"

namespace scorvane {

std::span<const std::uint8_t> RandomPattern::Next(std::size_t size) {
    block_.resize(std::max(block_.size(), size));
    const std::span<std::uint8_t> out(block_.data(), size);
    if (range_ == ByteRange::Digits) {
        random_.FillDigits(out);
    } else {
        random_.Fill(out);
    }
    return out;
}

CyclePattern::CyclePattern(std::vector<std::uint8_t> cycle) : block_(kWriteBlock) {
    for (std::size_t i = 0; i < block_.size(); ++i) block_[i] = cycle[i % cycle.size()];
}

std::span<const std::uint8_t> CyclePattern::Next(std::size_t size) {
    return std::span<const std::uint8_t>(block_.data(), std::min(size, block_.size()));
}

std::span<const std::uint8_t> BufferPattern::Next(std::size_t size) {
    const std::size_t part = std::min(size, bytes_.size() - at_);
    const std::span<const std::uint8_t> out(bytes_.data() + at_, part);
    at_ += part;
    return out;
}

Result<> WritePattern(FileServices& files, FileHandle file, std::int64_t count, PassPattern& pattern) {
    while (count > 0) {
        const auto size = static_cast<std::size_t>(std::min<std::int64_t>(count, kWriteBlock));
        const auto bytes = pattern.Next(size);
        if (bytes.empty()) break;
        if (auto written = files.WriteRaw(file, bytes); !written) return written;
        count -= static_cast<std::int64_t>(bytes.size());
    }
    return {};
}

}  // namespace scorvane
