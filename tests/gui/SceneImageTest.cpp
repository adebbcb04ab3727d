// The drawn scene, pixel for pixel: screenshots of the real program after the swap, compared
// with reference pictures of the same positions. The references are remade, after a change
// that is meant to alter the picture, with
//   VELTMARK_SCENE_RECORD=<folder> build/scene_image_tests
// and copied into tests/gui/scene-references/.
#include "WindowSession.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>
#include <utility>

using namespace window_test;

namespace {

// A pixel is off when one of its channels differs by more than this many levels...
constexpr int levelTolerance = 8;
// ...and the picture holds while at most this share of its pixels is off.
constexpr double offShareTolerance = 0.001;

const fs::path references = VELTMARK_SCENE_REFERENCES;

Screenshot readPng(const fs::path& png) {
    const fs::path raw =
        fs::temp_directory_path() / ("veltmark-reference-" + std::to_string(getpid()) + ".rgb");
    std::system(("convert " + quoted(png.string()) + " -depth 8 rgb:" + quoted(raw.string()) +
                 " >/dev/null 2>&1")
                    .c_str());
    Screenshot picture;
    std::ifstream in(raw, std::ios::binary);
    picture.rgb.assign(std::istreambuf_iterator<char>(in), {});
    fs::remove(raw);
    return picture;
}

void writePng(const Screenshot& picture, const fs::path& png) {
    const fs::path raw = png.string() + ".rgb";
    std::ofstream(raw, std::ios::binary)
        .write(reinterpret_cast<const char*>(picture.rgb.data()),
               static_cast<std::streamsize>(picture.rgb.size()));
    std::system(("convert -size 800x600 -depth 8 rgb:" + quoted(raw.string()) +
                 " -define png:compression-level=9 " + quoted(png.string()))
                    .c_str());
    fs::remove(raw);
}

int offPixels(const Screenshot& a, const Screenshot& b) {
    int off = 0;
    for (size_t i = 0; i < a.rgb.size(); i += 3) {
        int worst = 0;
        for (size_t c = 0; c < 3; ++c) {
            worst = std::max(worst, std::abs(a.rgb[i + c] - b.rgb[i + c]));
        }
        off += worst > levelTolerance;
    }
    return off;
}

class SceneImage : public OnVirtualDisplay {
protected:
    // Records the picture when asked to, else compares it with its reference.
    void expectPicture(const WindowSession& window, const std::string& name) {
        const Screenshot shot = window.settledScreen();
        ASSERT_TRUE(shot.valid());
        if (const char* record = std::getenv("VELTMARK_SCENE_RECORD")) {
            fs::create_directories(record);
            writePng(shot, fs::path(record) / (name + ".png"));
            return;
        }
        const Screenshot reference = readPng(references / (name + ".png"));
        ASSERT_TRUE(reference.valid()) << "no reference picture " << name << ".png";
        window.screenshot("scene-" + name);
        const int off = offPixels(shot, reference);
        std::cout << name << ": " << off << " pixels off\n";
        EXPECT_LE(off, offShareTolerance * screenWidth * screenHeight)
            << name << ": " << off << " pixels differ by more than " << levelTolerance
            << " levels from the reference (screenshot kept as scene-" << name << ".png)";
    }
};

TEST_F(SceneImage, StartAndMidGamePositionsLookAsBefore) {
    WindowSession window(display, "scene", humanAgainstHuman());
    ASSERT_TRUE(window.waitForWindow());
    window.closeOpeningDialog();
    expectPicture(window, "start");

    // A capture, a queen out, both knights moved: pieces off their ranks and a gap in each.
    for (const char* move : {"e2e4", "d7d5", "e4d5", "d8d5", "b1c3", "d5a5", "g1f3", "g8f6"}) {
        window.play({move});
        // One move at a time: the next press must find this one made.
        window.settledScreen();
    }
    // Low and from the side, where the mirror image and the pieces' far sides show most.
    window.key("Left Left Left Left Left Down Down Down Down");
    expectPicture(window, "midgame-low-side");
    EXPECT_EQ(window.terminate(), 0);
}

} // namespace
