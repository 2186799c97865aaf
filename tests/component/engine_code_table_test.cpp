// The engine-code tables of the vendor components, checked for every code a
// flash engine run can give (0 to 255) and for codes outside that range.
#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "component/vendors/dazudu.h"
#include "component/vendors/marqeth.h"
#include "component/vendors/zelvok.h"

namespace {

struct Range {
  int first, last, exitCode;  // exitCode -1: the engine code itself
};

void ExpectTable(const EngineCodeTable& table, const std::vector<Range>& ranges) {
  for (const Range& r : ranges) {
    for (int code = r.first;; ++code) {
      EXPECT_EQ(table.ExitCode(code), r.exitCode < 0 ? code : r.exitCode) << "engine code " << code;
      if (code == r.last) break;
    }
  }
}

TEST(EngineCodeTableTest, Dazudu) {
  ExpectTable(DazuduComp::kEngineCodes, {{INT_MIN, INT_MIN, -1},
                                         {-1, -1, -1},
                                         {0, 0, 1},
                                         {1, 1, 3},
                                         {2, 6, 7},
                                         {7, 10, -1},
                                         {11, 16, 7},
                                         {17, 300, -1},
                                         {INT_MAX, INT_MAX, -1}});
}

TEST(EngineCodeTableTest, Zelvok) {
  ExpectTable(ZelvokComp::kEngineCodes, {{INT_MIN, INT_MIN, -1},
                                         {-1, -1, -1},
                                         {0, 0, 1},
                                         {1, 1, 3},
                                         {2, 10, 7},
                                         {11, 13, -1},
                                         {14, 14, 7},
                                         {15, 15, 15},
                                         {16, 17, 7},
                                         {18, 300, -1},
                                         {INT_MAX, INT_MAX, -1}});
}

TEST(EngineCodeTableTest, Marqeth) {
  ExpectTable(MarqethComp::kEngineCodes,
              {{INT_MIN, INT_MIN, 7}, {-1, -1, 7}, {0, 0, 1}, {1, 300, 7}, {INT_MAX, INT_MAX, 7}});
}

}  // namespace
