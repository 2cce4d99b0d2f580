#include "formats/kpg25d/kpg25d.h"

#include <gtest/gtest.h>

namespace rfretune {
namespace {

TEST(KPG25DPlaceholder, FamilyLinks) { EXPECT_TRUE(Kpg25dDemoFiles().empty()); }

}  // namespace
}  // namespace rfretune
