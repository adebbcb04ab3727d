#pragma once

#include "PgnReader.h"
#include "Toolkit.h"

#include <cstddef>
#include <functional>
#include <optional>

// "Games": the games of a PGN file, one row each (number, date, White, Black, result, moves),
// in the order of the file, so that the archive's newest stands last. The list grows a part per
// frame, so that a large file shows at once. A click on a row, or Up, Down and Enter, chooses a
// game. Modal: the board waits while it is shown.
class GamesWindow : public ToolkitWindow {
public:
    // `choose` gets the index of the chosen game in the file's list, inside a frame; `closed`
    // runs when the window is closed without a choice.
    GamesWindow(std::function<void(size_t)> choose, std::function<void()> closed);

    // The file to list; guiLock held. The row that starts marked is the last one (the newest)
    // with `markLast`, else the first.
    void setFile(PgnFile file, bool markLast);
    const PgnFile* file() const { return file_ ? &*file_ : nullptr; }

    void drawContents() override;
    void defaultAction() override;
    void closeRequested() override;
    bool wantsFrames() const override { return file_ && !file_->listed(); }

private:
    void chooseMarked();

    std::function<void(size_t)> choose_;
    std::function<void()> closed_;
    std::optional<PgnFile> file_;
    // The newest is marked once the whole file is listed.
    bool markLast_ = false;
    size_t marked_ = 0;
    bool scrollToMarked_ = false;
};
