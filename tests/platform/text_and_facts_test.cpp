#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "platform/Failure.h"
#include "platform/ProcessFacts.h"

namespace scorvane {
namespace {

TEST(Failures, ErrnoMapsOntoTheProgramsNumbers) {
    const std::pair<int, int> rows[] = {
        {ENOSPC, 61}, {EDQUOT, 61},  {ENOENT, 53}, {ENOTDIR, 53},      {EACCES, 70}, {EPERM, 70},
        {EROFS, 70},  {ETXTBSY, 70}, {EBUSY, 70},  {ENAMETOOLONG, 52}, {EFBIG, 63},  {EOVERFLOW, 6},
        {EINVAL, 5},  {EBADF, 5},    {EIO, 57},    {EEXIST, 58},
    };
    for (const auto& [error, number] : rows) {
        EXPECT_EQ(FailureNumberFromErrno(error), number) << std::strerror(error);
        EXPECT_EQ(FailureFromErrno(error).number, number);
        // A read-only drive, a busy file and an immutable one are told apart in the system's words.
        const bool ownWords = error == EPERM || error == EROFS || error == ETXTBSY || error == EBUSY;
        EXPECT_EQ(FailureFromErrno(error).description, ownWords ? std::strerror(error) : DescribeFailure(number));
    }
    const std::pair<int, std::string> texts[] = {
        {52, "Bad file name or number"}, {53, "File not found"},      {61, "Disk full"}, {62, "Input past end of file"},
        {70, "Permission denied"},       {58, "File already exists"}, {6, "Overflow"},   {63, "Bad record number"},
        {380, "Invalid property value"},
    };
    for (const auto& [number, text] : texts) EXPECT_EQ(DescribeFailure(number), text);
    // Anything else keeps a number of its own and the system's description.
    const Failure other = FailureFromErrno(ENOTEMPTY);
    EXPECT_EQ(other.number, 1000 + ENOTEMPTY);
    EXPECT_EQ(other.description, std::strerror(ENOTEMPTY));
}

TEST(ProcessFacts, ArgumentsAreQuotedOneBlankApart) {
    using Arguments = std::vector<std::string>;
    const std::pair<Arguments, std::string> rows[] = {
        {{}, ""},
        {{"/a"}, "\"/a\""},
        {{"/a", "/b c"}, "\"/a\" \"/b c\""},
        {{"", "x"}, "\"\" \"x\""},
        {{"/a", "/say \"hi\""}, ""},  // cannot be handed over: starts as without arguments
        {{"\""}, ""},
    };
    for (const auto& [arguments, commandLine] : rows) {
        EXPECT_EQ(ProcessFacts::FromArguments(arguments).commandLine, commandLine) << commandLine;
    }
    const ProcessFacts facts = ProcessFacts::FromArguments({});
    EXPECT_EQ(facts.title, "Scorvane");
    EXPECT_EQ(facts.major, 2);
    EXPECT_EQ(facts.minor, 5);
    EXPECT_EQ(facts.revision, 15);
    EXPECT_EQ(facts.runsAsRoot, ::geteuid() == 0);
    EXPECT_EQ(facts.programFolder, std::filesystem::read_symlink("/proc/self/exe").parent_path().string());
    EXPECT_EQ(ExecutableFolder(), facts.programFolder);
}

}  // namespace
}  // namespace scorvane
