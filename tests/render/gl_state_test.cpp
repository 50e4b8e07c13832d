// GL objects and state made by the loaders and the projection, read back from the context.
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "gl_test_support.h"
#include "render/body_looks.h"
#include "render/frame.h"
#include "render/gl.h"
#include "render/picture_folder.h"
#include "render/renderer.h"
#include "render/texture.h"
#include "sim/gravity_list.h"
#include "sim/world.h"

namespace {

Rgb grey(int, int) {
    return {128, 128, 128};
}

class GlState : public GlDrawing {};

GLint boundTextureSize(GLenum which) {
    GLint value = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, which, &value);
    return value;
}

TEST_F(GlState, TextureHoldsTheWholePowerOfTwoPicture) {
    ImageRecord record{};
    const uint32_t name = loadTexture(writePicture("wide.bmp", 200, 100, grey).c_str(), &record);
    ASSERT_NE(name, 0u);
    EXPECT_EQ(boundTextureSize(GL_TEXTURE_WIDTH), 256);
    EXPECT_EQ(boundTextureSize(GL_TEXTURE_HEIGHT), 128);
    EXPECT_EQ(record.width, 200);
    EXPECT_EQ(record.paddedHeight, 128);
    GLint envMode = 0;
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &envMode);
    EXPECT_EQ(envMode, GL_MODULATE);
    GLint minFilter = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
    EXPECT_EQ(minFilter, GL_NEAREST);
    GLint alignment = 0;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    EXPECT_EQ(alignment, 1);
}

TEST_F(GlState, SameFileTwiceGivesTwoTextures) {
    ImageRecord record{};
    const std::string path = writePicture("square.bmp", 256, 256, grey);
    const uint32_t first = loadTexture(path.c_str(), &record);
    const uint32_t second = loadTexture(path.c_str(), &record);
    EXPECT_NE(first, 0u);
    EXPECT_NE(second, 0u);
    EXPECT_NE(first, second);
    EXPECT_EQ(boundTextureSize(GL_TEXTURE_WIDTH), 256);
}

TEST_F(GlState, MissingPictureGivesNoTextureAndOneReport) {
    ImageRecord record{};
    EXPECT_EQ(loadTexture("bitmap/none.bmp", &record), 0u);
    ASSERT_EQ(reportedErrors().size(), 1u);
    EXPECT_EQ(reportedErrors()[0], "Could not open bitmap file");
}

TEST_F(GlState, EachBodyGetsTheLookOfItsOwnPictureChoiceInBodyOrder) {
    EXPECT_STREQ(kTextureFiles[0], "bitmap/rock1.bmp");
    EXPECT_STREQ(kTextureFiles[1], "bitmap/rock3.bmp");
    EXPECT_STREQ(kTextureFiles[11], "bitmap/cloud2.bmp");
    // rock1 is whole, rock3 is cut short and cloud2 is missing: each body's look and report
    // tells which picture it was given, and the reports tell the order.
    const std::filesystem::path rock1 = writePicture("rock1.bmp", 16, 16, grey);
    std::ofstream(rock1.parent_path() / "rock3.bmp") << "BM";
    setPictureFolder(rock1.parent_path().string());
    const int choices[] = {11, 0, 1};
    for (const int choice : choices) {
        auto* body = new GravityObject{};
        body->radius = 0.5;
        body->textureIndex = choice;
        gravityListPush(&bodies, body);
    }
    bodyLooks[3] = {0, rendererCreateSphere(0.5, 0)}; // a look left over from an earlier scene
    bodyLooksCreate();
    setPictureFolder("");
    EXPECT_EQ(bodyLooks[0].texture, 0u);
    EXPECT_NE(bodyLooks[1].texture, 0u);
    EXPECT_EQ(bodyLooks[2].texture, 0u);
    for (int i = 0; i < 3; i++) {
        EXPECT_NE(bodyLooks[i].sphere, 0u) << i; // plain grey without a picture, but drawn
    }
    EXPECT_EQ(bodyLooks[3].sphere, 0u);
    const std::vector<std::string> expected = {"Could not open bitmap file",
                                               "Could not read bitmap file header"};
    EXPECT_EQ(reportedErrors(), expected);
}

TEST_F(GlState, LaterPictureDressesOnlyTheBodiesWearingIt) {
    const std::filesystem::path rock3 = writePicture("rock3.bmp", 16, 16, grey);
    setPictureFolder(rock3.parent_path().string());
    const int choices[] = {1, 0, 1};
    for (const int choice : choices) {
        auto* body = new GravityObject{};
        body->radius = 0.5;
        body->textureIndex = choice;
        gravityListPush(&bodies, body);
    }
    bodyLooksCreateBare();
    EXPECT_TRUE(reportedErrors().empty()); // nothing is read yet
    const BodyLook bare = bodyLooks[1];
    const uint32_t bareFirst = bodyLooks[0].sphere;
    bodyLooksAttach(kTextureFiles[1]);
    setPictureFolder("");
    EXPECT_NE(bodyLooks[0].texture, 0u);
    EXPECT_EQ(bodyLooks[2].texture, bodyLooks[0].texture); // one texture for the picture
    EXPECT_NE(bodyLooks[0].sphere, bodyLooks[2].sphere);
    EXPECT_EQ(bodyLooks[1].texture, bare.texture);
    EXPECT_EQ(bodyLooks[1].sphere, bare.sphere);
    EXPECT_TRUE(reportedErrors().empty());

    // Restarted with no bodies, nothing is made: every sphere ever made for this scene, the
    // bare ones it was dressed over included, and the shared texture are released.
    const BodyLook dressed[] = {bodyLooks[0], bodyLooks[2]};
    EXPECT_EQ(glIsTexture(dressed[0].texture), GL_TRUE);
    worldReset();
    bodyLooksCreateBare();
    EXPECT_EQ(glIsTexture(dressed[0].texture), GL_FALSE);
    for (const uint32_t sphere : {bareFirst, bare.sphere, dressed[0].sphere, dressed[1].sphere}) {
        EXPECT_EQ(glIsList(sphere), GL_FALSE) << sphere;
    }
}

void expectProjection(double a) {
    GLdouble m[16];
    glGetDoublev(GL_PROJECTION_MATRIX, m);
    // glFrustum(-1, 1, -a, a, 1, 41): 2n/(r-l) = 1, 2n/(t-b) = 1/a, -(f+n)/(f-n) = -1.05,
    // -2fn/(f-n) = -2.05.
    EXPECT_DOUBLE_EQ(m[0], 1.0);
    EXPECT_NEAR(m[5], 1.0 / a, 1e-6);
    EXPECT_NEAR(m[10], -1.05, 1e-6);
    EXPECT_NEAR(m[14], -2.05, 1e-6);
    EXPECT_EQ(m[11], -1.0);
}

TEST_F(GlState, ProjectionFollowsTheWindowShape) {
    resizeViewport(800, 600);
    expectProjection(0.75);
    resizeViewport(800, 800);
    expectProjection(1.0);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 800);
    EXPECT_EQ(viewport[3], 800);
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
}

TEST_F(GlState, MinimisedWindowKeepsThePreviousProjection) {
    resizeViewport(800, 600);
    resizeViewport(0, 600);
    resizeViewport(800, 0);
    expectProjection(0.75);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 800);
    EXPECT_EQ(viewport[3], 600);
}

TEST_F(GlState, FixedStateIsInPlaceAndTheLightWaitsForTheFirstFrame) {
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_FALSE(glIsEnabled(GL_LIGHT0)); // only the light list switches it on
    glCallList(lightList);
    EXPECT_TRUE(glIsEnabled(GL_LIGHT0));
    GLfloat diffuse[4];
    glGetLightfv(GL_LIGHT0, GL_DIFFUSE, diffuse);
    EXPECT_FLOAT_EQ(diffuse[0], 0.9f);
}

// The state the frame's other draws rely on, as numbers.
std::vector<float> stateSnapshot() {
    std::vector<float> state;
    for (const GLenum cap : {GL_BLEND, GL_LIGHTING, GL_TEXTURE_2D, GL_CULL_FACE}) {
        state.push_back(glIsEnabled(cap));
    }
    GLfloat values[16] = {};
    for (const GLenum name : {GL_TEXTURE_BINDING_2D, GL_BLEND_SRC, GL_BLEND_DST, GL_ALPHA_BIAS,
                              GL_CURRENT_COLOR, GL_CURRENT_TEXTURE_COORDS, GL_MODELVIEW_MATRIX}) {
        glGetFloatv(name, values);
        state.insert(state.end(), values, values + 16);
    }
    glGetTexEnvfv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, values);
    glGetMaterialfv(GL_FRONT, GL_EMISSION, values + 1);
    state.insert(state.end(), values, values + 5);
    return state;
}

TEST_F(GlState, RoundPointsTranslucentPicturesAndShadesLeaveTheStateAsItWas) {
    const ImageRecord record{16, 16, 16, 16};
    const std::vector<uint8_t> grey(3 * 16 * 16, 128);
    const uint32_t background = rendererCreateBackground(&record, grey.data());
    const uint32_t cover = rendererCreateCover(&record, grey.data());
    rendererCreateTexture(&record, grey.data()); // left bound, as a sphere's would be
    const float colour[4] = {0.5f, 0.25f, 0.0f, 0.5f};
    const float point[3] = {0.0f, 0.0f, -3.0f};
    rendererTranslate(0.0f, 0.0f, -9.0f);
    const std::vector<float> before = stateSnapshot();
    rendererSetPointSize(4.0f);
    rendererDrawPoints(colour, point, 1);
    EXPECT_EQ(stateSnapshot(), before) << "round points";
    rendererSetBackgroundOpacity(0.5f);
    rendererDrawBackground(background, 0.0f, 0.0f);
    EXPECT_EQ(stateSnapshot(), before) << "a translucent background";
    rendererDrawCover(cover, colour); // any part of the picture
    EXPECT_EQ(stateSnapshot(), before) << "a translucent cover";
    rendererDrawShade(colour);
    EXPECT_EQ(stateSnapshot(), before) << "a shade";
}

} // namespace
