#include "Toolkit.h"
#include "WindowGeometry.h"

#include <backends/imgui_impl_opengl2.h>
#include <imgui.h>
#include <imgui_freetype.h>

#include <algorithm>
#include <cfloat>

namespace {

// Frames drawn after the last input: a button acts on the release, and the frame after shows
// what it did.
constexpr int framesToSettle = 3;
constexpr float fontPixels = 18.0f;
// Between two message boxes stacked one below the other.
constexpr float stackGap = 8.0f;
// A box that does not fit below the one before it is moved this far right and down from it.
constexpr float cascadeStep = 30.0f;

} // namespace

ToolkitWindow::ToolkitWindow(std::string title) : title_(std::move(title)) {}

void ToolkitWindow::show() {
    if (!shown_) {
        takeFocus_ = true;
    }
    shown_ = true;
}

void ToolkitWindow::closeAndDestroy() {
    shown_ = false;
    destroyRequested_ = true;
}

Toolkit::Toolkit() = default;

Toolkit::~Toolkit() {
    stop();
}

bool Toolkit::start(const std::string& fontPath, std::string& error) {
    IMGUI_CHECKVERSION();
    ImGui::CreateContext();
    ImGuiIO& io = ImGui::GetIO();
    // The toolkit would otherwise write its window layout into the working directory.
    io.IniFilename = nullptr;
    io.LogFilename = nullptr;
    ToolkitInput::mapKeys(io);
    ImGui::StyleColorsDark();
    ImGuiStyle& style = ImGui::GetStyle();
    style.WindowRounding = 4.0f;
    style.FrameRounding = 3.0f;
    style.WindowPadding = ImVec2(12, 10);
    style.ItemSpacing = ImVec2(8, 6);

    io.Fonts->FontBuilderIO = ImGuiFreeType::GetBuilderForFreeType();
    if (io.Fonts->AddFontFromFileTTF(fontPath.c_str(), fontPixels) == nullptr) {
        error = "cannot open the interface font \"" + fontPath + "\"";
        ImGui::DestroyContext();
        return false;
    }
    if (!ImGui_ImplOpenGL2_Init()) {
        error = "cannot start the interface renderer";
        ImGui::DestroyContext();
        return false;
    }
    lastFrameTicks_ = SDL_GetTicks();
    running_ = true;
    return true;
}

void Toolkit::stop() {
    windows_.clear();
    if (running_) {
        ImGui_ImplOpenGL2_Shutdown();
        ImGui::DestroyContext();
        running_ = false;
    }
}

bool Toolkit::takeEvent(const SDL_Event& event) {
    if (event.type == SDL_QUIT) {
        return false;
    }
    if (!anyWindowShown()) {
        // Clicks and keys on the board are not the windows': only where the mouse is matters,
        // for the first frame of a window that opens later.
        input_.keepOnlyPointer(event);
        return true;
    }
    const auto pointer = pointerOf(event);
    const bool away = pointer && awayFromWindows(pointer->first, pointer->second);
    if (pointer) {
        pointerX_ = pointer->first;
        pointerY_ = pointer->second;
    }
    // A move list left open must not make every move on the board cost frames of its own: each
    // draws the whole scene.
    if (away && event.type == SDL_MOUSEMOTION) {
        input_.notePointer(event.motion.x, event.motion.y);
        return true;
    }
    input_.hold(event);
    if (!away) {
        // The frame that takes a motion already draws what hovering shows.
        settleFrames_ = std::max(settleFrames_, event.type == SDL_MOUSEMOTION ? 1 : framesToSettle);
    }
    return true;
}

bool Toolkit::awayFromWindows(int x, int y) const {
    if (ImGui::IsAnyItemActive()) {
        return false;
    }
    // The toolkit takes the mouse a few pixels outside a window as on its edge, to resize it.
    constexpr float edge = 8.0f;
    const auto near = [&](const ToolkitWindow& window, int px, int py) {
        const ToolkitWindow::Rect& r = window.drawnAt_;
        return px >= r.x - edge && px < r.x + r.w + edge && py >= r.y - edge &&
               py < r.y + r.h + edge;
    };
    return std::none_of(windows_.begin(), windows_.end(), [&](const auto& w) {
        return w->isShown() && (!w->passive || w->drawnAt_.w <= 0 || near(*w, x, y) ||
                                near(*w, pointerX_, pointerY_));
    });
}

bool Toolkit::wantsMoreFrames() const {
    // The frame after the last window went shows it gone; after that the windows need no more.
    const bool windowsOnScreen = anyWindowShown() || windowsDrawn_;
    const bool windowBusy = std::any_of(windows_.begin(), windows_.end(), [](const auto& w) {
        return w->isShown() && w->wantsFrames();
    });
    return running_ && windowsOnScreen && (input_.holding() || settleFrames_ > 0 || windowBusy);
}

ToolkitWindow* Toolkit::attach(std::unique_ptr<ToolkitWindow> window) {
    window->key_ = window->title_ + "##" + std::to_string(nextKey_++);
    windows_.push_back(std::move(window));
    settleFrames_ = framesToSettle;
    return windows_.back().get();
}

void Toolkit::detach(ToolkitWindow* window) {
    std::erase_if(windows_, [&](const auto& w) { return w.get() == window; });
    settleFrames_ = framesToSettle;
}

bool Toolkit::anyWindowShown() const {
    return std::any_of(windows_.begin(), windows_.end(),
                       [](const auto& w) { return w->isShown(); });
}

bool Toolkit::keepsFromBoard(const SDL_Event& event) const {
    for (const auto& window : windows_) {
        if (!window->isShown()) {
            continue;
        }
        if (!window->passive) {
            return true;
        }
        // Only the press is the window's: the motion and the release that follow one on the
        // board must reach the board, or a piece dragged across the window would stay held.
        const ToolkitWindow::Rect& r = window->drawnAt_;
        if (event.type == SDL_MOUSEBUTTONDOWN && event.button.x >= r.x &&
            event.button.x < r.x + r.w && event.button.y >= r.y && event.button.y < r.y + r.h) {
            return true;
        }
    }
    return false;
}

void Toolkit::drawWindows(int width, int height) {
    if (!running_) {
        return;
    }
    ImGuiIO& io = ImGui::GetIO();
    io.DisplaySize = ImVec2(static_cast<float>(width), static_cast<float>(height));
    const uint32_t now = SDL_GetTicks();
    // The toolkit refuses a time step of zero.
    io.DeltaTime = std::max(0.001f, (now - lastFrameTicks_) * 0.001f);
    lastFrameTicks_ = now;
    input_.feedFrame(io);
    if (settleFrames_ > 0 && !input_.holding()) {
        --settleFrames_;
    }

    ImGui_ImplOpenGL2_NewFrame();
    ImGui::NewFrame();
    // The newest shown modal window is on top and alone takes input.
    ToolkitWindow* topModal = nullptr;
    ToolkitWindow* newestShown = nullptr;
    for (const auto& window : windows_) {
        if (window->isShown()) {
            newestShown = window.get();
            if (window->modal) {
                topModal = window.get();
            }
        }
    }
    // Enter and Escape go to the window on top, wherever the focus is: a click on the board
    // takes it from the settings, and Escape must still close them.
    keyTarget_ = topModal != nullptr ? topModal : newestShown;
    previousModal_ = nullptr;
    windowsDrawn_ = newestShown != nullptr;
    for (const auto& window : windows_) {
        // A window just shown needs frames to lay itself out.
        if (window->isShown() && window->takeFocus_) {
            settleFrames_ = framesToSettle;
        }
    }
    // Modal windows last, so that they stay above the others.
    for (int pass = 0; pass < 2; ++pass) {
        const bool modalPass = pass == 1;
        // A window's actions may attach or detach windows: walk a copy of the list.
        std::vector<ToolkitWindow*> order;
        for (const auto& window : windows_) {
            order.push_back(window.get());
        }
        for (ToolkitWindow* window : order) {
            if (window->isShown() && window->modal == modalPass) {
                drawWindow(*window, topModal == nullptr || topModal == window, width, height);
            }
        }
    }
    ImGui::Render();
    ImGui_ImplOpenGL2_RenderDrawData(ImGui::GetDrawData());
    std::erase_if(windows_, [](const auto& w) { return w->destroyRequested(); });
}

void Toolkit::placeModal(ToolkitWindow& window, int height) {
    // Boxes shown together stand one below the other in the order they came, so that each
    // one's text stays readable; the first stands in the middle of the window.
    const ToolkitWindow* above = previousModal_;
    previousModal_ = &window;
    const float middle = ImGui::GetIO().DisplaySize.x * 0.5f;
    if (above == nullptr) {
        ImGui::SetNextWindowPos(ImVec2(middle, height * 0.5f), ImGuiCond_Always,
                                ImVec2(0.5f, 0.5f));
        return;
    }
    const ToolkitWindow::Rect& a = above->drawnAt_;
    const float top = a.y + a.h + stackGap;
    if (top + window.drawnAt_.h <= static_cast<float>(height)) {
        ImGui::SetNextWindowPos(ImVec2(middle, top), ImGuiCond_Always, ImVec2(0.5f, 0.0f));
    } else {
        ImGui::SetNextWindowPos(ImVec2(a.x + cascadeStep, a.y + cascadeStep), ImGuiCond_Always);
    }
}

void Toolkit::drawWindow(ToolkitWindow& window, bool takesInput, int width, int height) {
    ImGuiWindowFlags flags = ImGuiWindowFlags_NoCollapse | ImGuiWindowFlags_NoSavedSettings;
    if (window.modal) {
        flags |= ImGuiWindowFlags_AlwaysAutoResize;
    }
    if (!takesInput) {
        flags |= ImGuiWindowFlags_NoInputs;
    }
    // A box too large for the window scrolls rather than reaching past its edges.
    const ImVec2 largest = window.modal ? ImVec2(std::max(0.0f, width - 2.0f * modalWindowMargin),
                                                 std::max(0.0f, height - 2.0f * modalWindowMargin))
                                        : ImVec2(FLT_MAX, FLT_MAX);
    ImGui::SetNextWindowSizeConstraints(ImVec2(std::min(window.minimumWidth(), largest.x), 0),
                                        largest);
    const ToolkitWindow::Placement& place = window.placement;
    if (window.modal) {
        placeModal(window, height);
    } else if (place.width > 0) {
        ImGui::SetNextWindowPos(ImVec2(place.x, place.y), ImGuiCond_Appearing);
        ImGui::SetNextWindowSize(ImVec2(place.width, place.height), ImGuiCond_Appearing);
    } else {
        ImGui::SetNextWindowPos(ImVec2(width * 0.5f, height * 0.5f), ImGuiCond_Appearing,
                                ImVec2(0.5f, 0.5f));
    }
    if (!window.modal && window.drawnAt_.w > 0) {
        // A window left past an edge by a smaller window comes back inside.
        const ToolkitWindow::Rect& r = window.drawnAt_;
        const WindowCorner inside = keptOnScreen({r.x, r.y}, r.w, r.h, static_cast<float>(width),
                                                 static_cast<float>(height));
        if (inside != WindowCorner{r.x, r.y}) {
            ImGui::SetNextWindowPos(ImVec2(inside.x, inside.y), ImGuiCond_Always);
        }
    }
    if ((window.takeFocus_ || window.modal) && takesInput) {
        ImGui::SetNextWindowFocus();
        window.takeFocus_ = false;
    }
    bool open = true;
    const bool visible =
        ImGui::Begin(window.key_.c_str(), window.closable ? &open : nullptr, flags);
    window.drawnAt_ = {ImGui::GetWindowPos().x, ImGui::GetWindowPos().y, ImGui::GetWindowSize().x,
                       ImGui::GetWindowSize().y};
    if (visible) {
        window.drawContents();
    }
    ImGui::End();
    if (!open) {
        window.closeRequested();
        return;
    }
    if (!takesInput || &window != keyTarget_ || !window.isShown()) {
        return;
    }
    if (ImGui::IsKeyPressed(SDLK_RETURN, false) || ImGui::IsKeyPressed(SDLK_KP_ENTER, false)) {
        window.defaultAction();
    } else if (window.closable && ImGui::IsKeyPressed(SDLK_ESCAPE, false)) {
        window.closeRequested();
    }
}
