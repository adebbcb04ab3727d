#include "AcceptSettings.h"
#include "ScratchSettingsTree.h"
#include "SettingsFile.h"
#include "SettingsForm.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

class RecordingActions : public SettingsActions {
public:
    std::vector<std::string> calls;
    int resizedTo = 0;
    // Set to reach the real settings file.
    std::function<void()> onSave;

    void stopEngineTurn() override { calls.push_back("stop"); }
    void resizeSearchPool(int threads) override {
        calls.push_back("resize");
        resizedTo = threads;
    }
    void saveSettings() override {
        calls.push_back("save");
        if (onSave) {
            onSave();
        }
    }
    void updateUndoRedoButtons() override { calls.push_back("buttons"); }
    void orientKnights() override { calls.push_back("knights"); }

    bool called(const std::string& name) const {
        return std::find(calls.begin(), calls.end(), name) != calls.end();
    }
};

struct Edit {
    const char* what;
    std::function<void(SettingsForm&)> apply;
};

SettingsForm formOf(const Settings& record) {
    SettingsForm form;
    form.load(record);
    return form;
}

TEST(SettingsOk, OnlyChangesTheEngineUsesStopItsTurn) {
    const Settings record = defaultSettings();
    const Edit stopping[] = {
        {"white player", [](SettingsForm& f) { f.whitePlayerRadio = 1; }},
        {"black player", [](SettingsForm& f) { f.blackPlayerRadio = 0; }},
        {"thinking time by 1 s", [](SettingsForm& f) { f.thinkField += 1.0; }},
        {"depth", [](SettingsForm& f) { f.depthField = 12.0; }},
        {"SEE", [](SettingsForm& f) { f.seeCheckbox = 0; }},
        {"threads", [](SettingsForm& f) { f.threadsField = 2.0; }},
    };
    const Edit notStopping[] = {
        {"nothing", [](SettingsForm&) {}},
        {"thinking time by 0.0005 s", [](SettingsForm& f) { f.thinkField += 0.0005; }},
        {"depth within the same ply", [](SettingsForm& f) { f.depthField = 100.7; }},
        {"reflectivity", [](SettingsForm& f) { f.reflectivity = 0.8; }},
        {"white colour",
         [](SettingsForm& f) {
             f.takePickedColor(true, {1, 2, 3});
         }},
        {"black colour",
         [](SettingsForm& f) {
             f.takePickedColor(false, {4, 5, 6});
         }},
        {"knights", [](SettingsForm& f) { f.knightsRadio = 1; }},
    };
    auto check = [&](const Edit& edit, bool stops) {
        Settings stored = record;
        SettingsForm form = formOf(stored);
        edit.apply(form);
        RecordingActions actions;
        acceptSettings(form, stored, actions);
        EXPECT_EQ(actions.called("stop"), stops) << edit.what;
        // Every accepted change is saved and shown, whether it stopped the engine or not.
        EXPECT_TRUE(actions.called("save") && actions.called("buttons") &&
                    actions.called("knights"))
            << edit.what;
    };
    for (const Edit& edit : stopping) {
        check(edit, true);
    }
    for (const Edit& edit : notStopping) {
        check(edit, false);
    }
}

TEST(SettingsOk, StoresTheFormAndResizesThePoolOnlyForANewThreadCount) {
    Settings stored = defaultSettings();
    SettingsForm form = formOf(stored);
    form.whitePlayerRadio = 1;
    form.thinkField = 2.5;
    form.depthField = 7.9;
    form.seeCheckbox = 0;
    form.threadsField = 2.9;
    form.reflectivity = 0.35;
    form.takePickedColor(false, {10, 20, 30});
    form.knightsRadio = 1;
    RecordingActions actions;
    acceptSettings(form, stored, actions);

    EXPECT_EQ(actions.calls,
              (std::vector<std::string>{"stop", "resize", "save", "buttons", "knights"}));
    EXPECT_EQ(actions.resizedTo, 2);
    Settings expected = defaultSettings();
    expected.whitePlayer = 1;
    expected.timePerMove = 2.5;
    expected.maxDepth = 7;
    expected.useSee = 0;
    expected.threadCount = 2;
    expected.reflectivity = 0.35;
    const uint8_t blue[4] = {10, 20, 30, 255};
    std::memcpy(expected.blackColor, blue, 4);
    expected.knightsFace = 1;
    EXPECT_EQ(encodeSettings(stored), encodeSettings(expected));
    // The window shows what was stored: the fields truncated as the record holds them.
    EXPECT_EQ(form, formOf(expected));

    // The same count again, from a field that truncates to it.
    form.threadsField = 2.6;
    RecordingActions again;
    acceptSettings(form, stored, again);
    EXPECT_FALSE(again.called("resize") || again.called("stop"));
}

TEST(SettingsOk, ValuesOutsideTheRangesAreClampedAndNoNumberKeepsTheStoredOne) {
    Settings stored = defaultSettings();
    SettingsForm form = formOf(stored);
    form.thinkField = 5000.0;
    form.depthField = 0.0;
    form.threadsField = 1e9;
    form.reflectivity = -3.0;
    RecordingActions actions;
    acceptSettings(form, stored, actions);
    EXPECT_EQ(stored.timePerMove, 1000.0);
    EXPECT_EQ(stored.maxDepth, 1);
    EXPECT_EQ(stored.threadCount, 64);
    EXPECT_EQ(actions.resizedTo, 64);
    EXPECT_EQ(stored.reflectivity, 0.0);

    form.thinkField = std::nan("");
    acceptSettings(form, stored, actions);
    EXPECT_EQ(stored.timePerMove, 1000.0);
}

TEST(SettingsCancel, LoadRestoresEveryWidgetAndSwatchFromTheRecord) {
    Settings record = defaultSettings();
    record.whitePlayer = 1;
    record.knightsFace = 1;
    const SettingsForm fresh = formOf(record);

    SettingsForm form = fresh;
    form.whitePlayerRadio = 0;
    form.blackPlayerRadio = 0;
    form.thinkField = 99.0;
    form.depthField = 3.0;
    form.seeCheckbox = 0;
    form.threadsField = 9.0;
    form.reflectivity = 0.9;
    form.takePickedColor(true, {1, 1, 1});
    form.takePickedColor(false, {2, 2, 2});
    form.knightsRadio = 0;
    form.whiteSwatch.changed = form.blackSwatch.changed = false;
    form.load(record);

    // Every widget, working copy and swatch as the record has them, the swatches to be shown anew.
    EXPECT_EQ(form, fresh);
    EXPECT_TRUE(form.whiteSwatch.changed && form.blackSwatch.changed);
    EXPECT_EQ(form.blackColor, (PieceColor{64, 32, 16, 255}));
    const auto& last = form.blackSwatch.pixels;
    EXPECT_EQ(std::vector<int>(last.end() - 4, last.end()), (std::vector<int>{64, 32, 16, 255}));
}

using SettingsFileInTempDirectory = ScratchSettingsTree;

TEST_F(SettingsFileInTempDirectory, AnAcceptedChangeIsSavedAsThe56ByteRecord) {
    loadSettings();
    ASSERT_EQ(readFile("settings.dat").size(), settingsFileSize);

    SettingsForm form = formOf(settings);
    form.thinkField = 7.25;
    form.blackPlayerRadio = 0;
    RecordingActions actions;
    actions.onSave = [] { saveSettings(); };
    acceptSettings(form, settings, actions);

    const std::vector<uint8_t> bytes = readFile("settings.dat");
    ASSERT_EQ(bytes.size(), settingsFileSize);
    Settings expected = defaultSettings();
    expected.timePerMove = 7.25;
    expected.blackPlayer = 0;
    const SettingsImage image = encodeSettings(expected);
    EXPECT_EQ(bytes, std::vector<uint8_t>(image.begin(), image.end()));
    // The thinking time as a little-endian double at offset 16, the player at offset 4.
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + 16, bytes.begin() + 24),
              (std::vector<uint8_t>{0, 0, 0, 0, 0, 0, 0x1d, 0x40}));
    EXPECT_EQ(bytes[4], 0);
    EXPECT_TRUE(warnings().empty());
}

TEST_F(SettingsFileInTempDirectory, AFailingSaveIsReportedAndTheRestOfOkGoesOn) {
    if (!fs::exists("/dev/full")) {
        GTEST_SKIP() << "no /dev/full to fail the writes";
    }
    fs::create_symlink("/dev/full", "settings.dat");
    loadSettings();
    warnings().clear();

    SettingsForm form = formOf(settings);
    form.knightsRadio = 1;
    RecordingActions actions;
    actions.onSave = [] { saveSettings(); };
    acceptSettings(form, settings, actions);

    ASSERT_EQ(warnings().size(), 1u);
    EXPECT_NE(warnings()[0].find("Failed to save the settings."), std::string::npos);
    EXPECT_EQ(actions.calls.back(), "knights");
    EXPECT_EQ(settings.knightsFace, 1);
}

} // namespace
