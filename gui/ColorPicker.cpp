#include "ColorPicker.h"

#include <imgui.h>

#include <cmath>

namespace {

constexpr float markerRadius = 5.0f;
const ImU32 markerColour = IM_COL32(0, 0, 0, 255);

} // namespace

ColorPicker::ColorPicker() {
    sizeAllocate(requestedWidth, requestedHeight);
}

void ColorPicker::draw() {
    const ImVec2 origin = ImGui::GetCursorScreenPos();
    const ImVec2 size(static_cast<float>(width), static_cast<float>(height));
    // Takes the mouse presses on the widget, so that dragging in it does not move the window.
    ImGui::InvisibleButton("##colorPicker", size,
                           ImGuiButtonFlags_MouseButtonLeft | ImGuiButtonFlags_MouseButtonRight |
                               ImGuiButtonFlags_MouseButtonMiddle);
    handleMouse(origin.x, origin.y);
    if (width < smallestDrawnSize || height < smallestDrawnSize) {
        return;
    }
    if ((redrawFlags & redrawPicture) != 0 || !surfaceTexture.exists()) {
        renderPicture(surface);
        surfaceTexture.upload(surface.data(), width, height);
    }
    ImDrawList* draw = ImGui::GetWindowDrawList();
    const ImVec2 corner(std::round(origin.x), std::round(origin.y));
    draw->AddImage(surfaceTexture.toolkitId(), corner,
                   ImVec2(corner.x + size.x, corner.y + size.y));
    draw->AddCircle(ImVec2(corner.x + fieldMarkerX(), corner.y + fieldMarkerY()), markerRadius,
                    markerColour);
    const float valueY = corner.y + valueMarkerY();
    draw->AddLine(ImVec2(corner.x + static_cast<float>(barRect.x), valueY),
                  ImVec2(corner.x + static_cast<float>(barRect.x + barRect.w), valueY),
                  markerColour);
    draw->AddRectFilled(ImVec2(corner.x + static_cast<float>(previewRect.x),
                               corner.y + static_cast<float>(previewRect.y)),
                        ImVec2(corner.x + static_cast<float>(previewRect.x + previewRect.w),
                               corner.y + static_cast<float>(previewRect.y + previewRect.h)),
                        IM_COL32(red, green, blue, 255));
}

void ColorPicker::handleMouse(float originX, float originY) {
    const ImVec2 mouse = ImGui::GetIO().MousePos;
    const int x = static_cast<int>(std::floor(mouse.x - std::round(originX)));
    const int y = static_cast<int>(std::floor(mouse.y - std::round(originY)));
    if (ImGui::IsItemHovered()) {
        // The toolkit numbers the buttons left, right, middle.
        const int sdlButtons[] = {LeftButton, RightButton, MiddleButton};
        for (int button = 0; button < 3; ++button) {
            if (ImGui::IsMouseClicked(button)) {
                mouseButtonDown(sdlButtons[button], x, y);
            }
        }
    }
    const ImVec2 moved = ImGui::GetIO().MouseDelta;
    if (moved.x != 0.0f || moved.y != 0.0f) {
        // A drag goes on outside the widget; the coordinates are clamped.
        mouseMotion(x, y);
    }
    for (int button = 0; button < 3; ++button) {
        if (ImGui::IsMouseReleased(button)) {
            mouseButtonUp();
        }
    }
}
