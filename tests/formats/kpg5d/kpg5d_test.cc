#include "formats/kpg5d/kpg5d.h"

#include <gtest/gtest.h>

namespace rfretune {
namespace {

TEST(KPG5DPlaceholder, FamilyLinks) { EXPECT_TRUE(Kpg5dDemoFiles().empty()); }

}  // namespace
}  // namespace rfretune
