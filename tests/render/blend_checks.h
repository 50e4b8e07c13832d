// What both renderers must draw alike: round points, translucent backgrounds and shades. Each
// check draws on the current renderer's context and reports through gtest.
#pragma once

void expectRoundPointsLikeAnAntiAliasedDisc();
void expectBackgroundsBlendedByTheirOpacity();
void expectShadeBlendedAtItsAlpha();
