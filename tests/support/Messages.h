#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "support/FakeDesktop.h"

namespace scorvane::testing {

// Boxes the commands show, in marker texts (Lang[n] == "L<n>").
inline const MessageRecord kQuestion{"L12\r\rL13", 0x144, "L14"};  // overwrite for good?
inline const MessageRecord kCompleted{"L17     ", 0x40, "L18"};
inline const MessageRecord kCancelled{"L27", 0x40, "L26"};
inline const MessageRecord kDriveRefused{"L31", 0x30, "L14"};  // the drive cannot be written
inline const MessageRecord kFreeSpaceDone{"L29 0 L30!", 0x40, "L18"};

// The boxes shown, in order, each with its text, style and title.
inline void ExpectMessages(const std::vector<MessageRecord>& actual, const std::vector<MessageRecord>& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(actual[i].text, expected[i].text) << i;
        EXPECT_EQ(actual[i].style, expected[i].style) << i;
        EXPECT_EQ(actual[i].title, expected[i].title) << i;
    }
}

}  // namespace scorvane::testing
