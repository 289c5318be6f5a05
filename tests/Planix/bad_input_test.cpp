// Planix exports under a hostile host: unknown constant sets and null buffers give one trace-log
// line each and change nothing.
#include <gtest/gtest.h>

#include <climits>

#include "Planix.h"
#include "common/TestSupport.h"

namespace {

TEST(PlanixBadInput, UnknownSetsAndNullBuffersAreLoggedOnce) {
  ASSERT_EQ(PlanixSetGeoModel(84), 0);
  for (const int32_t model : {0, 73, -72, INT32_MAX}) {
    zktest::LogWatch watch;
    EXPECT_EQ(PlanixSetGeoModel(model), 2) << model;
    EXPECT_EQ(watch.errors(), 1);
    EXPECT_NE(watch.lastError().find("PlanixSetGeoModel"), std::string::npos);
    EXPECT_EQ(PlanixGetGeoModel(), 84);
  }
  double geo[9];
  PlanixGetGeoConst(geo);
  EXPECT_DOUBLE_EQ(geo[4], 6378.137);  // WGS-84 radius: the set was kept
  ASSERT_EQ(PlanixSetGeoModel(72), 0);

  zktest::LogWatch constants;
  PlanixGetGeoConst(nullptr);
  EXPECT_EQ(constants.errors(), 1);
  EXPECT_NE(constants.lastError().find("PlanixGetGeoConst"), std::string::npos);
  zktest::LogWatch info;
  PlanixGetInfo(nullptr);
  EXPECT_EQ(info.errors(), 1);
}

}  // namespace
