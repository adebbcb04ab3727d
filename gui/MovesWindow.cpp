#include "MovesWindow.h"

#include <imgui.h>

#include <algorithm>
#include <string_view>

namespace {

float textWidth(const std::string& text) {
    return ImGui::CalcTextSize(text.c_str()).x;
}

// The widest move in notation: a piece that needs its file and rank to be told apart and takes
// with check ("Qa1xb2+"), or a pawn that takes, promotes and checks ("exd8=Q+"), with each
// character as wide as the widest that may stand in its place.
float widestMoveWidth() {
    const auto widest = [](std::string_view choices) {
        char best = choices.front();
        for (const char c : choices) {
            if (textWidth(std::string(1, c)) > textWidth(std::string(1, best))) {
                best = c;
            }
        }
        return best;
    };
    const char piece = widest("KQRBN");
    const char file = widest("abcdefgh");
    const char rank = widest("12345678");
    const char mark = widest("+#");
    const std::string pieceMove{piece, file, rank, 'x', file, rank, mark};
    const std::string promotion{file, 'x', file, rank, '=', widest("QRBN"), mark};
    return std::max({textWidth(pieceMove), textWidth(promotion), textWidth("O-O-O+")});
}

// The move numbers' column: two digits at least, so that it widens only past move 99.
float numberWidth(size_t moveCount) {
    return std::max(textWidth("99."), textWidth(std::to_string(moveCount / 2 + 1) + "."));
}

} // namespace

MovesWindow::MovesWindow(std::function<void(int)> stepTo)
    : ToolkitWindow("Moves"), stepTo_(std::move(stepTo)) {
    passive = true;
    // Above the board's far left corner and the "Undo" button; as wide as minimumWidth.
    placement = {8.0f, 8.0f, 1.0f, 250.0f};
}

float MovesWindow::minimumWidth() const {
    // Three columns with their cells' padding, and the scrollbar beside them.
    const ImGuiStyle& style = ImGui::GetStyle();
    return numberWidth(moves_.size()) + 2.0f * widestMoveWidth() + 6.0f * style.CellPadding.x +
           style.ScrollbarSize + 2.0f * style.WindowPadding.x;
}

void MovesWindow::setMoves(std::vector<std::string> moves, int onBoard, int firstNumber,
                           bool blackFirst) {
    if (moves != moves_ || onBoard != onBoard_ || firstNumber != firstNumber_ ||
        blackFirst != blackFirst_) {
        moves_ = std::move(moves);
        onBoard_ = onBoard;
        firstNumber_ = firstNumber;
        blackFirst_ = blackFirst;
        scrollToMarked_ = true;
    }
}

void MovesWindow::drawContents() {
    if (moves_.empty()) {
        ImGui::TextDisabled("No moves yet");
        return;
    }
    const ImGuiTableFlags flags = ImGuiTableFlags_SizingFixedFit | ImGuiTableFlags_RowBg;
    int clicked = -1;
    if (ImGui::BeginTable("moves", 3, flags)) {
        const float moveWidth = widestMoveWidth();
        ImGui::TableSetupColumn("number", ImGuiTableColumnFlags_WidthFixed,
                                numberWidth(moves_.size() + 2 * (firstNumber_ - 1)));
        ImGui::TableSetupColumn("white", ImGuiTableColumnFlags_WidthFixed, moveWidth);
        ImGui::TableSetupColumn("black", ImGuiTableColumnFlags_WidthFixed, moveWidth);
        const int marked = onBoard_ - 1;
        // A game that Black begins leaves White's first cell empty.
        const int shift = blackFirst_ ? 1 : 0;
        for (int i = 0; i < static_cast<int>(moves_.size()); ++i) {
            const int cell = i + shift;
            if (cell % 2 == 0 || i == 0) {
                ImGui::TableNextRow();
                ImGui::TableSetColumnIndex(0);
                ImGui::TextDisabled("%d.", firstNumber_ + cell / 2);
            }
            ImGui::TableSetColumnIndex(cell % 2 == 0 ? 1 : 2);
            ImGui::PushID(i);
            if (i == marked) {
                ImGui::TableSetBgColor(ImGuiTableBgTarget_CellBg, IM_COL32(200, 150, 40, 255));
                ImGui::PushStyleColor(ImGuiCol_Text, ImVec4(0.0f, 0.0f, 0.0f, 1.0f));
            } else if (i > marked) {
                ImGui::PushStyleColor(ImGuiCol_Text,
                                      ImGui::GetStyleColorVec4(ImGuiCol_TextDisabled));
            }
            if (ImGui::Selectable(moves_[static_cast<size_t>(i)].c_str(), false)) {
                clicked = i;
            }
            if (i >= marked) {
                ImGui::PopStyleColor();
            }
            if (i == marked && scrollToMarked_) {
                ImGui::SetScrollHereY(1.0f);
                scrollToMarked_ = false;
            }
            ImGui::PopID();
        }
        ImGui::EndTable();
    }
    // Nothing marked: the board shows the start.
    scrollToMarked_ = false;
    if (clicked >= 0 && stepTo_) {
        stepTo_(clicked + 1);
    }
}
