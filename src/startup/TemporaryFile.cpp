#include "startup/TemporaryFile.h"

#include "model/Program.h"

namespace scorvane {

namespace {
constexpr const char* kTemporaryName = "temp.tmp";
constexpr int kTemporaryLines = 100;
}  // namespace

std::optional<TemporaryFile> WriteTemporaryFile(Program& program) {
    FileServices& files = program.files();
    const std::string path = program.PrepareDataFile(kTemporaryName);
    if (path.empty()) return std::nullopt;
    if (const auto old = files.IdentifyName(path)) {
        if (old.value().kind != EntryKind::RegularFile || old.value().names > 1) return std::nullopt;
        if (!files.Delete(path)) return std::nullopt;
    }
    const auto file = files.Open(path, OpenMode::CreateNew);
    if (!file) return std::nullopt;
    Result<> written;
    for (int line = 0; line < kTemporaryLines && written; ++line) written = files.PrintLine(file.value(), "000000000");
    const auto identity = files.Identify(file.value());
    files.CloseAll();
    if (!identity) {
        (void)files.Delete(path);
        return std::nullopt;
    }
    return TemporaryFile{path, identity.value()};
}

void RemoveTemporaryFile(Program& program, const TemporaryFile& file) {
    (void)program.files().DeleteIfSame(file.path, file.identity);
}

}  // namespace scorvane
