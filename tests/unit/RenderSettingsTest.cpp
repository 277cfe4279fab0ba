#include <gtest/gtest.h>

#include "game/RenderSettings.h"

namespace voidskirmish::game {
namespace {

TEST(RenderSettingsTest, StartsWithTheDefaultsPlayersSeeInTheHelp) {
  const RenderSettings settings;
  EXPECT_FALSE(settings.frameTime);
  EXPECT_FALSE(settings.wireframe);
  EXPECT_TRUE(settings.blending);
  EXPECT_FALSE(settings.frustumCulling);
  EXPECT_TRUE(settings.bloom && settings.contours && settings.normalMapping && settings.particles);
  EXPECT_TRUE(settings.celShading && settings.textures);
  EXPECT_FALSE(settings.lifePointsChanges);
  EXPECT_STREQ(samplingModeName(settings.samplingMode), "billinear");
  EXPECT_STREQ(mipmapModeName(settings.mipmapMode), "linear");
}

TEST(RenderSettingsTest, ModeNamesCoverEveryValueIncludingOutOfRange) {
  EXPECT_STREQ(samplingModeName(0), "nearest neighbor");
  EXPECT_STREQ(samplingModeName(2), "unknown");
  EXPECT_STREQ(samplingModeName(-1), "unknown");
  EXPECT_STREQ(mipmapModeName(0), "off");
  EXPECT_STREQ(mipmapModeName(1), "nearest neighbor");
  EXPECT_STREQ(mipmapModeName(3), "unknown");
  EXPECT_STREQ(onOff(true), "on");
  EXPECT_STREQ(onOff(false), "off");
}

}  // namespace
}  // namespace voidskirmish::game
