#include "SettingsDialog.h"

#include "ColorPicker.h"

#include <imgui.h>

#include <functional>
#include <string>

namespace {

constexpr float fieldWidth = 90.0f;
constexpr float labelColumn = 130.0f;

const char* const seeExplanation = "SEE allows the AI to predict results of \n"
                                   "exchanges, making it much stronger. \n"
                                   "Weak players are suggested to disable it.";
const char* const threadsAdvice = "The recommended value is the \n"
                                  "number of cores of your processor.";

// A label and a radio group of two items standing for 0 and 1. The items' labels carry an id
// suffix where two rows use the same words.
void radioRow(const char* label, int& value, const char* zero, const char* one) {
    ImGui::AlignTextToFramePadding();
    ImGui::TextUnformatted(label);
    ImGui::SameLine(labelColumn);
    ImGui::RadioButton(zero, &value, 0);
    ImGui::SameLine();
    ImGui::RadioButton(one, &value, 1);
}

// The window keeps one size whichever tab is open: that of the tallest, "AI".
ImVec2 dialogSize() {
    const ImGuiStyle& style = ImGui::GetStyle();
    const float width =
        ImGui::CalcTextSize(seeExplanation).x + 2.0f * style.WindowPadding.x + 40.0f;
    const float rows = 4.0f * ImGui::GetFrameHeightWithSpacing() +
                       5.0f * ImGui::GetTextLineHeight() + 2.0f * style.ItemSpacing.y;
    const float frame = ImGui::GetFrameHeight() + 2.0f * style.WindowPadding.y;
    const float tabBarAndButtons = 3.0f * ImGui::GetFrameHeightWithSpacing();
    return ImVec2(width, frame + rows + tabBarAndButtons + 3.0f * style.ItemSpacing.y);
}

} // namespace

// "Color of white pieces" / "Color of black pieces": a picker started from the working copy
// and "OK"; closing it any other way keeps the working copy.
class ColorWindow : public ToolkitWindow {
public:
    ColorWindow(std::string title, const PieceColor& start, std::function<void(RgbColor)> chosen,
                std::function<void()> closed)
        : ToolkitWindow(std::move(title)), chosen_(std::move(chosen)), closed_(std::move(closed)) {
        // Above the "Settings" window, which waits until the colour is chosen.
        modal = true;
        colorPicker.fromRgb(start[0], start[1], start[2]);
    }

    void drawContents() override {
        colorPicker.draw();
        ImGui::Spacing();
        if (ImGui::Button("OK", ImVec2(dialogButtonWidth, 0))) {
            accept();
        }
    }
    void defaultAction() override { accept(); }
    void closeRequested() override { close(); }

    void close() {
        closeAndDestroy();
        if (closed_) {
            closed_();
        }
    }

private:
    void accept() {
        chosen_({colorPicker.red, colorPicker.green, colorPicker.blue});
        close();
    }

    ColorPicker colorPicker;
    std::function<void(RgbColor)> chosen_;
    std::function<void()> closed_;
};

SettingsDialog::SettingsDialog(Toolkit& toolkit, std::recursive_mutex& guiLock,
                               SettingsActions& frontEnd, std::function<void()> closed)
    : ToolkitWindow("Settings"), toolkit_(toolkit), guiLock_(guiLock), frontEnd_(frontEnd),
      closed_(std::move(closed)) {
    load();
}

void SettingsDialog::load() {
    form.load(settings);
    closeColorWindow();
    hide();
}

void SettingsDialog::accept() {
    acceptSettings(form, settings, frontEnd_);
    closeColorWindow();
    hide();
    // The main thread looks again whether the engine is to move.
    closed_();
}

void SettingsDialog::cancel() {
    load();
    closed_();
}

void SettingsDialog::drawContents() {
    ImGui::SetWindowSize(dialogSize(), ImGuiCond_Always);
    if (ImGui::BeginTabBar("##settingsTabs")) {
        if (ImGui::BeginTabItem("General")) {
            drawGeneralTab();
            ImGui::EndTabItem();
        }
        if (ImGui::BeginTabItem("AI")) {
            drawEngineTab();
            ImGui::EndTabItem();
        }
        if (ImGui::BeginTabItem("Graphics")) {
            drawGraphicsTab();
            ImGui::EndTabItem();
        }
        ImGui::EndTabBar();
    }
    // The buttons stay at the bottom whichever tab is open.
    const float buttonsY =
        ImGui::GetWindowHeight() - ImGui::GetStyle().WindowPadding.y - ImGui::GetFrameHeight();
    if (ImGui::GetCursorPosY() < buttonsY) {
        ImGui::SetCursorPosY(buttonsY);
    }
    if (ImGui::Button("OK", ImVec2(dialogButtonWidth, 0))) {
        accept();
    }
    ImGui::SameLine();
    if (ImGui::Button("Cancel", ImVec2(dialogButtonWidth, 0))) {
        cancel();
    }
}

void SettingsDialog::drawGeneralTab() {
    radioRow("White player:", form.whitePlayerRadio, "Human##white", "AI##white");
    radioRow("Black player:", form.blackPlayerRadio, "Human##black", "AI##black");
}

void SettingsDialog::drawEngineTab() {
    ImGui::AlignTextToFramePadding();
    ImGui::TextUnformatted("Think");
    ImGui::SameLine();
    numericField("##think", form.thinkField, thinkRange, thinkBefore_);
    ImGui::SameLine();
    ImGui::TextUnformatted("sec");
    ImGui::SameLine();
    ImGui::TextUnformatted("per move");

    ImGui::AlignTextToFramePadding();
    ImGui::TextUnformatted("Limit search depth to");
    ImGui::SameLine();
    numericField("##depth", form.depthField, depthRange, depthBefore_);
    ImGui::SameLine();
    ImGui::TextUnformatted("plies");

    bool see = form.seeCheckbox != 0;
    if (ImGui::Checkbox("Static Exchange Evaluation (SEE)", &see)) {
        form.seeCheckbox = see ? 1 : 0;
    }
    ImGui::TextUnformatted(seeExplanation);

    ImGui::AlignTextToFramePadding();
    ImGui::TextUnformatted("Number of threads:");
    ImGui::SameLine();
    numericField("##threads", form.threadsField, threadsRange, threadsBefore_);
    ImGui::TextUnformatted(threadsAdvice);
}

void SettingsDialog::drawGraphicsTab() {
    ImGui::TextUnformatted("Reflectivity of the chessboard:");
    ImGui::SetNextItemWidth(-1.0f);
    ImGui::SliderScalar("##reflectivity", ImGuiDataType_Double, &form.reflectivity, &sliderMin,
                        &sliderMax, "%.2f", ImGuiSliderFlags_AlwaysClamp);
    if (ImGui::IsItemDeactivatedAfterEdit()) {
        form.reflectivity =
            keepInRange(form.reflectivity, settings.reflectivity, reflectivityRange);
    }
    colorRow("Color of white pieces:", true);
    colorRow("Color of black pieces:", false);
    radioRow("Knights face", form.knightsRadio, "forward", "sideways");
}

void SettingsDialog::colorRow(const char* label, bool forWhitePieces) {
    Swatch& swatch = forWhitePieces ? form.whiteSwatch : form.blackSwatch;
    PixelTexture& pixmap = forWhitePieces ? whiteSwatchPixmap : blackSwatchPixmap;
    if (swatch.changed || !pixmap.exists()) {
        pixmap.upload(swatch.pixels.data(), Swatch::width, Swatch::height);
        swatch.changed = false;
    }
    ImGui::AlignTextToFramePadding();
    ImGui::TextUnformatted(label);
    ImGui::SameLine(labelColumn + 40.0f);
    // The swatch sits in the middle of the row's height, beside the button.
    const float lift = (ImGui::GetFrameHeight() - Swatch::height) * 0.5f;
    ImGui::SetCursorPosY(ImGui::GetCursorPosY() + lift);
    ImGui::Image(pixmap.toolkitId(), ImVec2(Swatch::width, Swatch::height));
    ImGui::SameLine();
    ImGui::SetCursorPosY(ImGui::GetCursorPosY() - lift);
    ImGui::PushID(forWhitePieces ? "white" : "black");
    if (ImGui::Button("Change...")) {
        openColorWindow(forWhitePieces);
    }
    ImGui::PopID();
}

void SettingsDialog::numericField(const char* id, double& value, FieldRange range,
                                  double& valueBefore) {
    ImGui::SetNextItemWidth(fieldWidth);
    ImGui::InputDouble(id, &value, 0.0, 0.0, "%g");
    if (ImGui::IsItemActivated()) {
        valueBefore = value;
    }
    if (ImGui::IsItemDeactivated()) {
        value = keepInRange(value, valueBefore, range);
    }
}

void SettingsDialog::openColorWindow(bool forWhitePieces) {
    std::lock_guard gui(guiLock_);
    closeColorWindow();
    auto window = std::make_unique<ColorWindow>(
        forWhitePieces ? "Color of white pieces" : "Color of black pieces",
        forWhitePieces ? form.whiteColor : form.blackColor,
        [this, forWhitePieces](RgbColor colour) { form.takePickedColor(forWhitePieces, colour); },
        [this] { colorWindow = nullptr; });
    colorWindow = window.get();
    toolkit_.attach(std::move(window))->show();
}

void SettingsDialog::closeColorWindow() {
    if (colorWindow != nullptr) {
        colorWindow->close();
    }
}
