#include "Camera.h"
#include "VectorMath.h"

#include <gtest/gtest.h>

#include <cmath>
#include <utility>

// The camera as the player sees it: where the eye is and which way is right on screen. The
// board's centre is the origin, White's side towards +z.
namespace {

Vector3 eyeOf(const Camera& camera) {
    return cameraView(camera).eye;
}

double distanceOf(const Camera& camera) {
    return std::sqrt(dot(eyeOf(camera), eyeOf(camera)));
}

// How far a change moves the eye along the screen's right as it was before.
template <typename Change> double movedRight(Camera& camera, Change change) {
    const CameraView view = cameraView(camera);
    const Vector3 f{-view.eye.x, -view.eye.y, -view.eye.z};
    const Vector3 u = view.up;
    const Vector3 right{f.y * u.z - f.z * u.y, f.z * u.x - f.x * u.z, f.x * u.y - f.y * u.x};
    change(camera);
    const Vector3 eye = eyeOf(camera);
    return dot({eye.x - view.eye.x, eye.y - view.eye.y, eye.z - view.eye.z}, right);
}

} // namespace

TEST(CameraTest, StartsBehindWhiteSixtyDegreesUpAndNeverShowsTheBoardUpsideDown) {
    const Vector3 eye = eyeOf(Camera{});
    EXPECT_NEAR(distanceOf(Camera{}), 20, 1e-12);
    EXPECT_NEAR(eye.x, 0, 1e-12);
    EXPECT_NEAR(std::atan2(eye.y, eye.z), pi / 3, 1e-12);

    Camera camera;
    for (const double elevation : {0.0, 1.2, pi / 2}) {
        camera.cameraAzimuth = -2.9 + elevation;
        camera.cameraElevation = elevation;
        const CameraView view = cameraView(camera);
        EXPECT_NEAR(dot(view.eye, view.up) / std::sqrt(dot(view.up, view.up)), 0, 1e-9);
        EXPECT_GT(view.up.y, 0) << "what is above the board is up on screen";
    }
    Camera above;
    above.cameraElevation = pi / 2;
    EXPECT_LT(cameraView(above).up.z, 0) << "from straight above Black's side is up";
}

TEST(CameraTest, ArrowKeysTurnAndTiltTheCameraTheWayTheyPoint) {
    Camera camera;
    EXPECT_GT(movedRight(camera, [](Camera& c) { EXPECT_TRUE(c.keyPressed(Key::Right)); }), 0);
    EXPECT_LT(movedRight(camera, [](Camera& c) { EXPECT_TRUE(c.keyPressed(Key::Left)); }), 0);
    const double height = eyeOf(camera).y;
    EXPECT_TRUE(camera.keyPressed(Key::Up));
    EXPECT_GT(eyeOf(camera).y, height);
    EXPECT_FALSE(camera.keyPressed(Key::M));
    for (int i = 0; i < 20; ++i) {
        camera.keyPressed(Key::Down);
    }
    EXPECT_EQ(eyeOf(camera).y, 0.0) << "down stops on the board plane";

    // Turning on past the back of the board keeps the azimuth in (-pi, pi].
    camera.cameraAzimuth = pi - 0.05;
    camera.keyPressed(Key::Right);
    EXPECT_NEAR(camera.cameraAzimuth, -pi + 0.05, 1e-12);
    camera.keyPressed(Key::Left);
    EXPECT_NEAR(camera.cameraAzimuth, pi - 0.05, 1e-12);
}

TEST(CameraTest, HoldingUpCarriesTheCameraOverTheTopAndDownBehindBlack) {
    // Held, the key keeps the camera travelling the same way: over the top and down behind
    // Black, instead of stopping at the top or turning back.
    Camera camera;
    for (int i = 0; i < 10; ++i) {
        const double z = eyeOf(camera).z;
        camera.keyPressed(Key::Up);
        EXPECT_LT(eyeOf(camera).z, z) << "press " << i;
    }
    EXPECT_LT(eyeOf(camera).z, 0) << "behind Black";

    // Still held, Down goes back the way it came, over the top once more.
    for (int i = 0; i < 10; ++i) {
        camera.keyPressed(Key::Down);
    }
    EXPECT_GT(eyeOf(camera).z, 0);
    const double height = eyeOf(camera).y;
    camera.keyPressed(Key::Down);
    EXPECT_LT(eyeOf(camera).y, height) << "and Down lowers it again";
}

TEST(CameraTest, TapsAndShortDragsGoOverTheTopOnceAsHoldingDoes) {
    // Each tap and each short drag is let go before the next: the camera must still cross the
    // top once on the way up and once on the way back, never turn the board at every step.
    auto crossings = [](auto step, int steps) {
        Camera camera;
        int crossed = 0;
        for (int i = 0; i < steps; ++i) {
            const bool behindBlack = eyeOf(camera).z < 0;
            step(camera, i < steps / 2);
            camera.released();
            crossed += (eyeOf(camera).z < 0) != behindBlack;
        }
        return std::pair{crossed, eyeOf(camera)};
    };
    const auto [tapCrossings, tapEnd] =
        crossings([](Camera& c, bool up) { c.keyPressed(up ? Key::Up : Key::Down); }, 40);
    EXPECT_EQ(tapCrossings, 2) << "over the top and back, once each";
    EXPECT_GT(tapEnd.z, 0) << "Down brings it back behind White";

    const auto [dragCrossings, dragEnd] =
        crossings([](Camera& c, bool down) { c.drag(0, down ? 30 : -30, 600); }, 40);
    EXPECT_EQ(dragCrossings, 2);
    EXPECT_GT(dragEnd.z, 0);
}

TEST(CameraTest, TheWheelMovesTheCameraInAndOutByATenth) {
    Camera camera;
    camera.wheelTurned(true, false);
    EXPECT_NEAR(distanceOf(camera), 20 / 1.1, 1e-12);
    camera.wheelTurned(false, true);
    camera.wheelTurned(false, true);
    camera.wheelTurned(false, false);
    EXPECT_NEAR(distanceOf(camera), 22, 1e-12);
}

TEST(CameraTest, DraggingMovesTheBoardWithTheMouse) {
    // Down by a tenth of the window tilts by 0.2 radians; to the right the board turns along, so
    // the camera goes left.
    Camera camera;
    camera.drag(0, 60, 600);
    EXPECT_NEAR(std::atan2(eyeOf(camera).y, eyeOf(camera).z), pi / 3 + 0.2, 1e-12);
    EXPECT_LT(movedRight(camera, [](Camera& c) { c.drag(30, 0, 600); }), 0);
    camera.drag(0, -600, 600);
    EXPECT_EQ(eyeOf(camera).y, 0.0) << "up stops on the board plane";

    // Down by 0.3 of the window goes over the top, and on the same way while the button is
    // held; a jump of a whole window height back ends on the board plane, not under it.
    Camera over;
    over.drag(0, 180, 600);
    const double z = eyeOf(over).z;
    EXPECT_LT(z, 0);
    over.drag(0, 30, 600);
    EXPECT_LT(eyeOf(over).z, z);
    over.drag(0, -600, 600);
    EXPECT_GT(eyeOf(over).z, 0);
    EXPECT_EQ(eyeOf(over).y, 0.0);

    // Close to straight above one pixel sideways turns the view by several turns, and the
    // azimuth still ends up in its range; straight above a sideways drag turns nothing.
    Camera nearTop;
    nearTop.drag(0, 157, 600);
    ASSERT_LT(nearTop.cameraElevation, pi / 2);
    nearTop.drag(1, 0, 600);
    EXPECT_GT(nearTop.cameraAzimuth, -pi);
    EXPECT_LE(nearTop.cameraAzimuth, pi);
    Camera top;
    top.cameraElevation = pi / 2;
    top.drag(50, 0, 600);
    EXPECT_EQ(top.cameraAzimuth, 0.0);
}
