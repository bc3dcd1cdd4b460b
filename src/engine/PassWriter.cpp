#include "engine/PassWriter.h"

#include <algorithm>

#include "engine/PassPattern.h"

namespace scorvane {

std::vector<PassWrite> PassLayout(PassKind kind, std::int64_t length) {
    const bool character = kind == PassKind::Character;
    if (length < kSmallFileLimit) return {PassWrite{1, character ? length : length + 1}};
    const std::int64_t chunk = length / kChunks;
    const std::int64_t remainder = length - kChunks * chunk;
    std::vector<PassWrite> writes;
    writes.reserve(kChunks + 1);
    for (int i = 0; i < kChunks; ++i) writes.push_back({i == 0 ? 1 : chunk * i - 1, character ? chunk : chunk + 1});
    writes.push_back(character ? PassWrite{kChunks * chunk - 3, remainder} : PassWrite{kChunks * chunk, remainder + 1});
    return writes;
}

namespace {

// A fill character's run is written from a block of this size, as the file services write it, so that a
// run split between blocks reaches the file in the same writes.
constexpr std::size_t kFillBlock = 1024 * 1024;
// What one step of a cut frees: some milliseconds of the file system's work.
constexpr std::int64_t kCutStep = 64 * 1024 * 1024;

// One write of a pass, block by block; `stopped` when the pace stopped it between two blocks.
Result<> WriteInBlocks(FileServices& files, FileHandle file, const PassWrite& write, const PassBytes& bytes,
                       const std::function<bool()>& betweenBlocks, bool& stopped) {
    std::int64_t left = write.count;
    if (bytes.kind == PassKind::Character) {
        // The tagged text's header holds at most 65,535: a run longer than a block has the same header
        // whether it is written whole or as its first block and the characters after it.
        const char fill = bytes.fill();
        const std::int64_t first = betweenBlocks ? std::min<std::int64_t>(left, kWriteBlock) : left;
        if (auto written = files.WriteTaggedFill(file, fill, first); !written) return written;
        left -= first;
        if (left == 0) return {};
        const std::vector<std::uint8_t> block(kFillBlock, static_cast<std::uint8_t>(fill));
        for (std::int64_t sinceBlock = 0; left > 0;) {
            if (sinceBlock == 0 && !betweenBlocks()) {
                stopped = true;
                return {};
            }
            const auto size = static_cast<std::size_t>(std::min<std::int64_t>(left, kFillBlock));
            if (auto written = files.WriteRaw(file, {block.data(), size}); !written) return written;
            left -= static_cast<std::int64_t>(size);
            sinceBlock = (sinceBlock + static_cast<std::int64_t>(size)) % static_cast<std::int64_t>(kWriteBlock);
        }
        return {};
    }
    if (!betweenBlocks) return WritePattern(files, file, left, *bytes.pattern);
    // The pattern's blocks one at a time: the same blocks as in one call.
    for (;;) {
        const std::int64_t block = std::min<std::int64_t>(left, kWriteBlock);
        if (auto written = WritePattern(files, file, block, *bytes.pattern); !written) return written;
        left -= block;
        if (left == 0) return {};
        if (!betweenBlocks()) {
            stopped = true;
            return {};
        }
    }
}

}  // namespace

Result<> WritePass(FileServices& files, FileHandle file, std::span<const PassWrite> writes, const PassBytes& bytes,
                   const PassPace& pace, bool& stopped) {
    stopped = false;
    for (std::size_t i = 0; i < writes.size(); ++i) {
        Result<> written = files.Seek(file, writes[i].position);
        if (written) written = WriteInBlocks(files, file, writes[i], bytes, pace.betweenBlocks, stopped);
        if (!written) return written;
        if (!stopped && pace.afterWrite && !pace.afterWrite(i)) stopped = true;
        if (stopped) {
            (void)files.Flush(file);  // what was written reaches the disk; the stop is what is reported
            return {};
        }
    }
    return files.Flush(file);
}

Result<> CutToNothing(FileServices& files, FileHandle file, std::int64_t length, const std::function<void()>& between) {
    for (std::int64_t left = (length - 1) / kCutStep * kCutStep; left > 0; left -= kCutStep) {
        if (auto cut = files.Truncate(file, left); !cut) return cut;
        between();
    }
    return files.Truncate(file, 0);
}

}  // namespace scorvane
