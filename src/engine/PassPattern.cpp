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

CyclePattern::CyclePattern(const std::vector<std::uint8_t>& cycle, std::int64_t length) {
    // No larger than the file needs (whole cycles, so that the phase holds), built by doubling.
    const auto wanted = static_cast<std::size_t>(std::clamp<std::int64_t>(length, 1, kWriteBlock));
    block_.resize((wanted + 2) / 3 * 3);
    std::size_t filled = std::min(cycle.size(), block_.size());
    std::copy_n(cycle.begin(), filled, block_.begin());
    while (filled < block_.size()) {
        const std::size_t part = std::min(filled, block_.size() - filled);
        std::copy_n(block_.begin(), part, block_.begin() + static_cast<std::ptrdiff_t>(filled));
        filled += part;
    }
}

std::span<const std::uint8_t> CyclePattern::Next(std::size_t size) {
    return std::span<const std::uint8_t>(block_.data(), std::min(size, block_.size()));
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
