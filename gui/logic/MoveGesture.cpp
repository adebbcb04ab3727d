#include "MoveGesture.h"

MoveGesture::Step MoveGesture::pressed(std::optional<Square> picked, const Under& under) {
    press = Press::None;
    if (picked && under.target) {
        return Step::Move;
    }
    if (picked && under.square == picked) {
        press = Press::OnPicked;
        return Step::Nothing;
    }
    if (under.square && under.ownPiece) {
        press = Press::PickedIt;
        return Step::PickUp;
    }
    return picked ? Step::Drop : Step::Nothing;
}

MoveGesture::Step MoveGesture::released(std::optional<Square> picked, const Under& under) {
    const Press was = press;
    press = Press::None;
    // A release whose press went elsewhere (to an on-screen button, or to a dialog that has
    // closed since) leaves a clicked piece where it is.
    if (!picked || was == Press::None) {
        return Step::Nothing;
    }
    if (under.target) {
        return Step::Move;
    }
    // Released where it was pressed: the first click keeps the piece picked for a second click,
    // a click on the picked piece puts it back.
    if (under.square == picked && was == Press::PickedIt) {
        return Step::Nothing;
    }
    return Step::Drop;
}
