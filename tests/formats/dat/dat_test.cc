#include "formats/dat/dat.h"

#include <gtest/gtest.h>

namespace rfretune {
namespace {

TEST(DATPlaceholder, FamilyLinks) { EXPECT_TRUE(DatDemoFiles().empty()); }

}  // namespace
}  // namespace rfretune
