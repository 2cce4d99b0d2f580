#include "formats/kpg16d/kpg16d.h"

#include <gtest/gtest.h>

namespace rfretune {
namespace {

TEST(KPG16DPlaceholder, FamilyLinks) { EXPECT_TRUE(Kpg16dDemoFiles().empty()); }

}  // namespace
}  // namespace rfretune
