#include "DialogWindows.h"

#include "Piece.h"

#include <imgui.h>

namespace {

constexpr float buttonWidth = 110.0f;

void centredText(const std::string& text) {
    // Line by line, so that a message of several lines reads as a block in the middle.
    const float available = ImGui::GetContentRegionAvail().x;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        const std::string line = text.substr(start, end - start);
        const float width = ImGui::CalcTextSize(line.c_str()).x;
        if (width < available) {
            ImGui::SetCursorPosX(ImGui::GetCursorPosX() + (available - width) * 0.5f);
        }
        ImGui::TextUnformatted(line.c_str());
        start = end + 1;
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
    if (available > buttonWidth) {
        ImGui::SetCursorPosX(ImGui::GetCursorPosX() + (available - buttonWidth) * 0.5f);
    }
    if (ImGui::Button("Ok", ImVec2(buttonWidth, 0))) {
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
    const float width = std::max(buttonWidth, (ImGui::GetContentRegionAvail().x - spacing) * 0.5f);
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
