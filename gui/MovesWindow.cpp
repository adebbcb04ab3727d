#include "MovesWindow.h"

#include <imgui.h>

MovesWindow::MovesWindow() : ToolkitWindow("Moves") {
    passive = true;
    // Above the board's far left corner and the "Undo" button.
    placement = {8.0f, 8.0f, 196.0f, 250.0f};
}

void MovesWindow::setMoves(std::vector<std::string> moves) {
    if (moves != moves_) {
        moves_ = std::move(moves);
        scrollToEnd_ = true;
    }
}

void MovesWindow::drawContents() {
    if (moves_.empty()) {
        ImGui::TextDisabled("No moves yet");
        return;
    }
    const ImGuiTableFlags flags = ImGuiTableFlags_SizingFixedFit | ImGuiTableFlags_RowBg;
    if (ImGui::BeginTable("moves", 3, flags)) {
        ImGui::TableSetupColumn("number", ImGuiTableColumnFlags_WidthFixed, 34.0f);
        ImGui::TableSetupColumn("white", ImGuiTableColumnFlags_WidthFixed, 64.0f);
        ImGui::TableSetupColumn("black", ImGuiTableColumnFlags_WidthFixed, 64.0f);
        const size_t last = moves_.size() - 1;
        for (size_t i = 0; i < moves_.size(); ++i) {
            if (i % 2 == 0) {
                ImGui::TableNextRow();
                ImGui::TableSetColumnIndex(0);
                ImGui::TextDisabled("%zu.", i / 2 + 1);
            }
            ImGui::TableSetColumnIndex(i % 2 == 0 ? 1 : 2);
            if (i == last) {
                ImGui::TableSetBgColor(ImGuiTableBgTarget_CellBg, IM_COL32(200, 150, 40, 255));
                ImGui::TextColored(ImVec4(0.0f, 0.0f, 0.0f, 1.0f), "%s", moves_[i].c_str());
            } else {
                ImGui::TextUnformatted(moves_[i].c_str());
            }
        }
        ImGui::EndTable();
    }
    if (scrollToEnd_) {
        ImGui::SetScrollHereY(1.0f);
        scrollToEnd_ = false;
    }
}
