#include "engine/PassWriter.h"

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

Result<> WritePass(FileServices& files, FileHandle file, std::span<const PassWrite> writes, const PassBytes& bytes,
                   const std::function<bool(std::size_t)>& afterWrite, bool& stopped) {
    stopped = false;
    for (std::size_t i = 0; i < writes.size(); ++i) {
        Result<> written = files.Seek(file, writes[i].position);
        if (written) {
            written = bytes.kind == PassKind::Character ? files.WriteTaggedFill(file, bytes.fill(), writes[i].count)
                                                        : WritePattern(files, file, writes[i].count, *bytes.pattern);
        }
        if (!written) return written;
        if (afterWrite && !afterWrite(i)) {
            stopped = true;
            (void)files.Flush(file);  // what was written reaches the disk; the stop is what is reported
            return {};
        }
    }
    return files.Flush(file);
}

}  // namespace scorvane
