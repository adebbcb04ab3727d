#include "GamesWindow.h"

#include <SDL.h>
#include <imgui.h>

#include <algorithm>
#include <string>

namespace {

// Listed per frame, in steps of a few milliseconds each, until the frame's share is spent: the
// first rows show in the first frame, and a file of 20,000 games (some 200 ms of listing) is
// listed whole within a handful of frames, none of which waits long for it.
constexpr size_t bytesPerStep = size_t{256} << 10;
constexpr Uint32 listingMsPerFrame = 40;
constexpr float listWidth = 720.0f;
constexpr float listHeight = 380.0f;

const char* orUnknown(const std::string& value) {
    return value.empty() ? "?" : value.c_str();
}

} // namespace

GamesWindow::GamesWindow(std::function<void(size_t)> choose, std::function<void()> closed)
    : ToolkitWindow("Games"), choose_(std::move(choose)), closed_(std::move(closed)) {
    modal = true;
}

void GamesWindow::setFile(PgnFile file, bool markLast) {
    file_ = std::move(file);
    markLast_ = markLast;
    marked_ = 0;
    scrollToMarked_ = true;
}

void GamesWindow::drawContents() {
    if (!file_) {
        return;
    }
    const Uint32 start = SDL_GetTicks();
    while (!file_->listed() && SDL_GetTicks() - start < listingMsPerFrame) {
        file_->listMore(bytesPerStep);
    }
    const auto& games = file_->games();
    if (markLast_ && file_->listed() && !games.empty()) {
        marked_ = games.size() - 1;
        scrollToMarked_ = true;
        markLast_ = false;
    }
    ImGui::Text("%s: %zu %s%s", file_->name().c_str(), games.size(),
                games.size() == 1 ? "game" : "games", file_->listed() ? "" : " so far");
    if (games.empty()) {
        ImGui::TextDisabled(file_->listed() ? "The file holds no games." : "Reading...");
        return;
    }
    if (ImGui::IsKeyPressed(SDLK_DOWN) && marked_ + 1 < games.size()) {
        ++marked_;
        scrollToMarked_ = true;
    }
    if (ImGui::IsKeyPressed(SDLK_UP) && marked_ > 0) {
        --marked_;
        scrollToMarked_ = true;
    }
    const ImGuiTableFlags flags = ImGuiTableFlags_ScrollY | ImGuiTableFlags_RowBg |
                                  ImGuiTableFlags_BordersInnerV | ImGuiTableFlags_SizingFixedFit;
    if (!ImGui::BeginTable("games", 6, flags, ImVec2(listWidth, listHeight))) {
        return;
    }
    ImGui::TableSetupScrollFreeze(0, 1);
    ImGui::TableSetupColumn("No.", ImGuiTableColumnFlags_WidthFixed, 52.0f);
    ImGui::TableSetupColumn("Date", ImGuiTableColumnFlags_WidthFixed, 92.0f);
    ImGui::TableSetupColumn("White", ImGuiTableColumnFlags_WidthStretch);
    ImGui::TableSetupColumn("Black", ImGuiTableColumnFlags_WidthStretch);
    ImGui::TableSetupColumn("Result", ImGuiTableColumnFlags_WidthFixed, 60.0f);
    ImGui::TableSetupColumn("Moves", ImGuiTableColumnFlags_WidthFixed, 52.0f);
    ImGui::TableHeadersRow();
    const float rowHeight = ImGui::GetTextLineHeightWithSpacing();
    if (scrollToMarked_) {
        // Rows out of sight are not laid out, so the list is scrolled by arithmetic.
        const float top = marked_ * rowHeight;
        const float view = listHeight - 2.0f * rowHeight;
        if (top < ImGui::GetScrollY()) {
            ImGui::SetScrollY(top);
        } else if (top > ImGui::GetScrollY() + view) {
            ImGui::SetScrollY(top - view);
        }
        scrollToMarked_ = false;
    }
    std::optional<size_t> clicked;
    ImGuiListClipper clipper;
    clipper.Begin(static_cast<int>(games.size()), rowHeight);
    while (clipper.Step()) {
        for (int row = clipper.DisplayStart; row < clipper.DisplayEnd; ++row) {
            const PgnGameSummary& game = games[static_cast<size_t>(row)];
            ImGui::TableNextRow();
            ImGui::TableSetColumnIndex(0);
            const std::string label = std::to_string(game.number) + "##game";
            if (ImGui::Selectable(label.c_str(), marked_ == static_cast<size_t>(row),
                                  ImGuiSelectableFlags_SpanAllColumns)) {
                clicked = static_cast<size_t>(row);
            }
            ImGui::TableSetColumnIndex(1);
            ImGui::TextUnformatted(orUnknown(game.date));
            ImGui::TableSetColumnIndex(2);
            ImGui::TextUnformatted(orUnknown(game.white));
            ImGui::TableSetColumnIndex(3);
            ImGui::TextUnformatted(orUnknown(game.black));
            ImGui::TableSetColumnIndex(4);
            ImGui::TextUnformatted(game.result.c_str());
            ImGui::TableSetColumnIndex(5);
            ImGui::Text("%d", (game.plyCount + 1) / 2);
        }
    }
    ImGui::EndTable();
    if (clicked) {
        marked_ = *clicked;
        chooseMarked();
    }
}

void GamesWindow::defaultAction() {
    chooseMarked();
}

void GamesWindow::closeRequested() {
    hide();
    if (closed_) {
        closed_();
    }
}

void GamesWindow::chooseMarked() {
    if (file_ && marked_ < file_->games().size()) {
        choose_(marked_);
    }
}
