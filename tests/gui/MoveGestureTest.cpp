#include "MoveGesture.h"

#include <gtest/gtest.h>

namespace {

using Step = MoveGesture::Step;

const Square e2{5, 2};
const Square e4{5, 4};
const Square d2{4, 2};

MoveGesture::Under own(Square s) {
    return {s, true, false};
}
MoveGesture::Under target(Square s) {
    return {s, false, true};
}
MoveGesture::Under emptySquare(Square s) {
    return {s, false, false};
}
const MoveGesture::Under offBoard{};

} // namespace

TEST(MoveGestureTest, DraggingMovesOrPutsBackAsBefore) {
    MoveGesture g;
    EXPECT_EQ(g.pressed(std::nullopt, own(e2)), Step::PickUp);
    EXPECT_EQ(g.released(e2, target(e4)), Step::Move);

    EXPECT_EQ(g.pressed(std::nullopt, own(e2)), Step::PickUp);
    EXPECT_EQ(g.released(e2, emptySquare({5, 6})), Step::Drop);
    EXPECT_EQ(g.pressed(std::nullopt, own(e2)), Step::PickUp);
    EXPECT_EQ(g.released(e2, offBoard), Step::Drop);
}

TEST(MoveGestureTest, AClickKeepsThePieceAndASecondClickActs) {
    MoveGesture g;
    // Click the piece: it stays picked; click its target: the move is made at the press.
    EXPECT_EQ(g.pressed(std::nullopt, own(e2)), Step::PickUp);
    EXPECT_EQ(g.released(e2, own(e2)), Step::Nothing);
    EXPECT_EQ(g.pressed(e2, target(e4)), Step::Move);
    EXPECT_EQ(g.released(std::nullopt, emptySquare(e4)), Step::Nothing);

    // Another own piece takes the pick over and keeps it after its own click.
    EXPECT_EQ(g.pressed(std::nullopt, own(e2)), Step::PickUp);
    EXPECT_EQ(g.released(e2, own(e2)), Step::Nothing);
    EXPECT_EQ(g.pressed(e2, own(d2)), Step::PickUp);
    EXPECT_EQ(g.released(d2, own(d2)), Step::Nothing);

    // A click elsewhere drops it, and so does its release: nothing moves.
    EXPECT_EQ(g.pressed(d2, emptySquare({4, 6})), Step::Drop);
    EXPECT_EQ(g.released(std::nullopt, emptySquare({4, 6})), Step::Nothing);
    EXPECT_EQ(g.pressed(std::nullopt, own(e2)), Step::PickUp);
    EXPECT_EQ(g.released(e2, own(e2)), Step::Nothing);
    EXPECT_EQ(g.pressed(e2, offBoard), Step::Drop);
}

TEST(MoveGestureTest, TheClickedPieceCanStillBeDraggedOrClickedAgainToPutItBack) {
    MoveGesture g;
    g.pressed(std::nullopt, own(e2));
    g.released(e2, own(e2));
    EXPECT_EQ(g.pressed(e2, own(e2)), Step::Nothing);
    EXPECT_EQ(g.released(e2, target(e4)), Step::Move);

    g.pressed(std::nullopt, own(e2));
    g.released(e2, own(e2));
    EXPECT_EQ(g.pressed(e2, own(e2)), Step::Nothing);
    EXPECT_EQ(g.released(e2, own(e2)), Step::Drop);
}

TEST(MoveGestureTest, AReleaseWithoutAPressOnTheBoardLeavesTheClickedPiece) {
    MoveGesture g;
    g.pressed(std::nullopt, own(e2));
    g.released(e2, own(e2));
    // An Escape or a new game in between.
    g.reset();
    EXPECT_EQ(g.released(e2, target(e4)), Step::Nothing);
    EXPECT_EQ(g.released(e2, offBoard), Step::Nothing);
}
