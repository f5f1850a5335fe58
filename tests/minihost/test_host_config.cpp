// The stand-in host's four-character codes, against values worked out by
// hand from the characters' ASCII codes.
#include <gtest/gtest.h>

#include "SP/SPErrorCodes.h"
#include "minihost/core/four_chars.h"
#include "minihost/core/host_config.h"

TEST(HostConfig, ApplicationIdsHaveTheirFirstCharacterInTheHighestByte) {
    // 'F' 46 'X' 58 'T' 54 'C' 43; 'P' 50 'r' 72 'M' 4D 'r' 72.
    EXPECT_EQ(minihost::kApplIdAfterEffects, 0x46585443);
    EXPECT_EQ(minihost::kApplIdPremierePro, 0x50724D72);
    EXPECT_EQ(minihost::HostConfig{}.appl_id, 0x46585443);
    // The host's own error codes are packed the same way: '!IMP', 'S!Fd'.
    EXPECT_EQ(minihost::fourChars("!IMP"), static_cast<A_u_long>(kSPUnimplementedError));
    EXPECT_EQ(minihost::fourChars("S!Fd"), static_cast<A_u_long>(kSPSuiteNotFoundError));
    // Bytes past 0x7F stay in their own byte.
    EXPECT_EQ(minihost::fourChars("\xFF\x80\x01\x7F"), 0xFF80017Fu);
}
