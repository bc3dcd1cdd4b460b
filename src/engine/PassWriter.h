#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "engine/PassPlans.h"
#include "platform/FileServices.h"

namespace scorvane {

class PassPattern;

// Files below this length are written in one piece per pass, without progress.
inline constexpr std::int64_t kSmallFileLimit = 1000;
inline constexpr int kChunks = 100;

// One write of a pass: from `position` (counted from 1), `count` fill characters as one tagged text (a
// character pass), or `count` bytes of the pass's pattern (a byte pass).
struct PassWrite {
    std::int64_t position;
    std::int64_t count;
};

// Where the writes of a pass over a file of `length` bytes go. A small file takes one write from its first
// byte: `length` characters, or length + 1 bytes so that every byte is covered. A larger one takes 100
// chunks of c = length / 100 and a remainder of r = length - 100c, overlapping by design: the 4-byte
// header of a tagged text stands in front of its characters, so chunk i > 0 of a character pass starts at
// c*i - 1 (its header covers the last bytes of chunk i - 1) and the remainder's header at 100c - 3; a byte
// pass writes c + 1 bytes per chunk from the same places and its remainder's r + 1 bytes from 100c, so
// that its last byte is the file's last.
std::vector<PassWrite> PassLayout(PassKind kind, std::int64_t length);

// What a pass writes: the fill character of each write, or its pattern's next bytes.
struct PassBytes {
    PassKind kind;
    std::function<char()> fill;      // character passes, asked once per write
    PassPattern* pattern = nullptr;  // byte passes
};

// What the caller does while a pass is written; either may be empty.
struct PassPace {
    // After write i: progress and the stop poll; false stops the pass.
    std::function<bool(std::size_t)> afterWrite;
    // Between the blocks of a long write, every few MiB: keeps the windows answered; false stops the pass.
    std::function<bool()> betweenBlocks;
};

// Writes each of `writes` in order, then flushes the file to the disk. A long write goes out in blocks of a
// few MiB, with the same bytes in the same order. When the pace stops the pass, the file is flushed as
// far as it got and `stopped` is set. The result is the failure of the first seek, write or flush that
// failed; nothing after it is written.
Result<> WritePass(FileServices& files, FileHandle file, std::span<const PassWrite> writes, const PassBytes& bytes,
                   const PassPace& pace, bool& stopped);

// Cuts the open file of about `length` bytes to nothing. A large file is cut in steps from its end, with
// `between` called between two steps: the file system frees gigabytes a part at a time instead of in one
// call that takes it long to finish. A small file takes one cut.
Result<> CutToNothing(FileServices& files, FileHandle file, std::int64_t length, const std::function<void()>& between);

}  // namespace scorvane
