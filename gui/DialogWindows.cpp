#include "DialogWindows.h"

#include "Piece.h"
#include "TextWrapping.h"

#include <imgui.h>

#include <algorithm>
#include <string_view>
#include <vector>

namespace {

// Longer lines are wrapped: wider ones read badly, and the box must fit the window.
constexpr float widestLine = 560.0f;

void centredText(const std::string& text) {
    // Line by line, so that a message of several lines reads as a block in the middle.
    const ImGuiStyle& style = ImGui::GetStyle();
    const float windowRoom = ImGui::GetIO().DisplaySize.x - 2.0f * modalWindowMargin -
                             2.0f * style.WindowPadding.x - style.ScrollbarSize;
    const auto widthOf = [](std::string_view line) {
        return ImGui::CalcTextSize(line.data(), line.data() + line.size()).x;
    };
    const std::vector<std::string> lines =
        wrapText(text, std::max(dialogButtonWidth, std::min(widestLine, windowRoom)), widthOf);
    const float available = ImGui::GetContentRegionAvail().x;
    for (const std::string& line : lines) {
        const float width = widthOf(line);
        if (width < available) {
            ImGui::SetCursorPosX(ImGui::GetCursorPosX() + (available - width) * 0.5f);
        }
        ImGui::TextUnformatted(line.c_str());
    }
}

} // namespace

MessageBox::MessageBox(std::string title, std::string text)
    : ToolkitWindow(std::move(title)), text_(std::move(text)) {
    modal = true;
}

void MessageBox::drawContents() {
    centredText(text_);
    ImGui::Spacing();
    const float available = ImGui::GetContentRegionAvail().x;
    if (available > dialogButtonWidth) {
        ImGui::SetCursorPosX(ImGui::GetCursorPosX() + (available - dialogButtonWidth) * 0.5f);
    }
    if (ImGui::Button("Ok", ImVec2(dialogButtonWidth, 0))) {
        closeAndDestroy();
    }
}

QuestionDialog::QuestionDialog(std::string question, DialogAnswer<bool>& answer)
    : ToolkitWindow("Question"), question_(std::move(question)), answer_(answer) {
    modal = true;
}

void QuestionDialog::drawContents() {
    centredText(question_);
    ImGui::Spacing();
    const float spacing = ImGui::GetStyle().ItemSpacing.x;
    const float width =
        std::max(dialogButtonWidth, (ImGui::GetContentRegionAvail().x - spacing) * 0.5f);
    if (ImGui::Button("Yes", ImVec2(width, 0))) {
        choose(true);
    }
    ImGui::SameLine();
    if (ImGui::Button("No", ImVec2(width, 0))) {
        choose(false);
    }
}

void QuestionDialog::closeRequested() {
    choose(false);
}

void QuestionDialog::defaultAction() {
    choose(true);
}

void QuestionDialog::choose(bool yes) {
    hide();
    answer_.give(yes);
}

PromotionDialog::PromotionDialog(bool whiteToMove, DialogAnswer<int>& answer)
    : ToolkitWindow("Promotion"), colourOffset_(whiteToMove ? 0 : BlackKing - WhiteKing),
      answer_(answer) {
    modal = true;
    closable = false;
}

void PromotionDialog::drawContents() {
    ImGui::TextUnformatted("To which piece do you wish to promote your pawn?");
    ImGui::Spacing();
    struct Choice {
        const char* label;
        int piece;
        SDLKey key;
    };
    const Choice choices[] = {{"Queen", WhiteQueen, SDLK_q},
                              {"Knight", WhiteKnight, SDLK_n},
                              {"Rook", WhiteRook, SDLK_r},
                              {"Bishop", WhiteBishop, SDLK_b}};
    const bool hasKeyboard = ImGui::IsWindowFocused(ImGuiFocusedFlags_RootAndChildWindows);
    for (const Choice& choice : choices) {
        if (ImGui::Button(choice.label, ImVec2(-FLT_MIN, 0)) ||
            (hasKeyboard && ImGui::IsKeyPressed(choice.key, false))) {
            choose(choice.piece + colourOffset_);
            return;
        }
    }
}

void PromotionDialog::choose(int piece) {
    hide();
    answer_.give(piece);
}
