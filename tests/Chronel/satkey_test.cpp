// satKey creation from a DS50 epoch or from epoch text.
#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "Siblings/Chronel/Chronel.h"

using namespace chronel;

TEST(ChronelSatKey, KeysCarryTheTypeAndRepeatForEqualInputs) {
  const double epoch = ymdhmsToDs50(2021, 3, 4, 5, 6, 7.125);
  std::set<int64_t> keys;
  for (int type = 1; type <= 9; ++type) {
    for (int sat : {0, 1, 25544, 99999, 999999999}) {
      const int64_t k = createsatkey(sat, type, epoch);
      ASSERT_GT(k, 0);
      EXPECT_EQ(k % 10, type);
      EXPECT_NE(k % 10, 0);
      EXPECT_EQ(createsatkey(sat, type, epoch), k);
      keys.insert(k);
    }
  }
  EXPECT_EQ(keys.size(), 45u);  // different inputs, different keys
  EXPECT_NE(createsatkey(25544, 5, epoch), createsatkey(25544, 5, epoch + 1.0 / 86400.0));
  // The text overload reads any date form to the same key as the DS50 epoch.
  for (const char* text : {"2021/063 0506 07.125", "21063050607.125", "2021063050607.125",
                           "2021-03-04T05:06:07.125", "04 Mar 2021 05:06:07.125"})
    EXPECT_EQ(createsatkey(25544, 6, text), createsatkey(25544, 6, epoch)) << text;
}

TEST(ChronelSatKey, BadInputGivesMinusOne) {
  const double epoch = 25000.0;
  EXPECT_EQ(createsatkey(-1, 5, epoch), -1);
  EXPECT_EQ(createsatkey(1000000000, 5, epoch), -1);
  EXPECT_EQ(createsatkey(1, 0, epoch), -1);
  EXPECT_EQ(createsatkey(1, 10, epoch), -1);
  EXPECT_EQ(createsatkey(1, 5, NAN), -1);
  EXPECT_EQ(createsatkey(1, 5, 1.0e300), -1);
  EXPECT_EQ(createsatkey(1, 5, std::string_view("not a date")), -1);
  EXPECT_EQ(createsatkey(1, 5, std::string_view(std::string(20, ' '))), -1);
  EXPECT_EQ(createsatkey(1, 5, std::string_view("\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0", 20)), -1);
}
