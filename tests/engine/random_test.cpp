// The random generator behind every random pass and name: its bytes, digits, ranges and draws, and the
// random passes it gives a file.
#include <gtest/gtest.h>

#include <array>
#include <cerrno>
#include <climits>

#include "engine/OneFileWipe.h"
#include "engine/WipeHelpers.h"
#include "support/TestBed.h"

namespace scorvane::testing {
namespace {

// The longest run of one repeated byte.
std::size_t LongestRun(std::span<const std::uint8_t> bytes) {
    std::size_t longest = 0, run = 0;
    for (std::size_t k = 0; k < bytes.size(); ++k) {
        run = k > 0 && bytes[k] == bytes[k - 1] ? run + 1 : 1;
        longest = std::max(longest, run);
    }
    return longest;
}

// Every byte value of `bytes` counted; each must be near the mean of an even spread.
std::array<std::size_t, 256> Counts(std::span<const std::uint8_t> bytes) {
    std::array<std::size_t, 256> counts{};
    for (const std::uint8_t byte : bytes) ++counts[byte];
    return counts;
}

// A system that gives no random bytes ends the start with a message instead of spinning for ever.
TEST(RandomStreamDeathTest, NoRandomBytesFromTheSystemEndTheStartWithAMessage) {
    const auto none = [](std::span<std::uint8_t>) { return false; };
    EXPECT_EXIT(RandomStream::FromSystem(none), ::testing::ExitedWithCode(1), "gives no random bytes");
}

TEST(RandomStreamTest, RandomBytesAreEvenRunFreeAndDifferBetweenStreams) {
    auto first = RandomStream::FromSystem();
    auto second = RandomStream::FromSystem();
    std::vector<std::uint8_t> a(1 << 20), b(1 << 20);
    first->Fill(std::span(a).first(7));  // odd pieces and a whole block share one stream
    first->Fill(std::span(a).subspan(7));
    second->Fill(b);
    EXPECT_NE(a, b);
    for (const auto* bytes : {&a, &b}) {
        const auto counts = Counts(*bytes);
        for (const std::size_t count : counts) {
            EXPECT_GT(count, 4096u * 9 / 10);  // 1 MiB / 256 = 4096 each
            EXPECT_LT(count, 4096u * 11 / 10);
        }
        EXPECT_LE(LongestRun(*bytes), 8u);
    }
}

TEST(RandomStreamTest, DigitsUnitDrawsAndRanges) {
    auto random = RandomStream::FromSystem();
    std::vector<std::uint8_t> digits(100'000);
    random->FillDigits(digits);
    std::array<std::size_t, 10> seen{};
    for (const std::uint8_t digit : digits) {
        ASSERT_TRUE(digit >= '0' && digit <= '9') << int{digit};
        ++seen[static_cast<std::size_t>(digit - '0')];
    }
    for (const std::size_t count : seen) {
        EXPECT_GT(count, 9000u);
        EXPECT_LT(count, 11000u);
    }

    double sum = 0;
    for (int i = 0; i < 100'000; ++i) {
        const double r = random->NextUnit();
        ASSERT_GE(r, 0.0);
        ASSERT_LT(r, 1.0);
        sum += r;
    }
    EXPECT_NEAR(sum / 100'000, 0.5, 0.01);
}

TEST(RandomStreamTest, FillCharactersAndNameLettersCoverTheirRanges) {
    TestBed bed;
    std::array<std::size_t, 256> fills{}, letters{};
    for (int i = 0; i < 200'000; ++i) {
        ++fills[static_cast<unsigned char>(RandomFillCharacter(bed.program()))];
        ++letters[static_cast<unsigned char>(RandomNameLetter(bed.program()))];
    }
    EXPECT_EQ(fills[0], 0u);
    for (std::size_t code = 1; code <= 255; ++code) EXPECT_GT(fills[code], 0u) << code;
    EXPECT_LT(fills[1] * 3, fills[128] * 2);  // the ends come up half as often
    for (std::size_t code = 0; code < 256; ++code) EXPECT_EQ(letters[code] > 0, code >= 'A' && code <= 'Y') << code;
}

// The bytes a wipe leaves when it is stopped before the new name.
std::string WipedBytes(TestBed& bed, int method, std::size_t length) {
    bed.program().form1();
    const std::string path = bed.Work("f.bin");
    WriteBytes(path, std::string(length, 'x'));
    bed.files.FailOperation("Rename", EACCES);
    WipeFile(bed.program(), path, method);
    return ReadBytes(path);
}

TEST(RandomStreamTest, ARandomPassHoldsEveryByteValueWithoutRuns) {
    for (const std::size_t length : {std::size_t{999}, std::size_t{1} << 20}) {
        TestBed bed;
        const std::string bytes = WipedBytes(bed, 2, length);
        const std::span<const std::uint8_t> view(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
        ASSERT_EQ(bytes.size(), length < 1000 ? length + 1 : length);
        EXPECT_LE(LongestRun(view), length < 1000 ? 4u : 8u);
        if (length >= 1000) {
            for (const std::size_t count : Counts(view)) EXPECT_GT(count, 3000u);
        }
    }
    // Method 7's digits over a large file.
    TestBed bed;
    const std::string digits = WipedBytes(bed, 7, 300'050);
    EXPECT_EQ(digits.find_first_not_of("0123456789"), std::string::npos);
}

TEST(RandomStreamTest, ARunIsRepeatableWithAFixedSeedAndNotWithTheSystems) {
    // The stream is seeded once, from the seed given or from the system, and never again.
    TestBed one, two;
    TestBed fromSystem(TestBedOptions{{}, "United States", false});
    const std::string a = WipedBytes(one, 3, 5050);
    const std::string b = WipedBytes(two, 3, 5050);
    const std::string c = WipedBytes(fromSystem, 3, 5050);
    EXPECT_EQ(a, b);
    EXPECT_NE(a, c);
    EXPECT_EQ(a.size(), 5050u);
}

}  // namespace
}  // namespace scorvane::testing
