#pragma once

#include "DialogAnswer.h"
#include "Toolkit.h"

#include <string>

// A message with one "Ok" button; it destroys itself when closed. Nothing waits for it.
class MessageBox : public ToolkitWindow {
public:
    MessageBox(std::string title, std::string text);
    void drawContents() override;
    void closeRequested() override { closeAndDestroy(); }
    void defaultAction() override { closeAndDestroy(); }

private:
    std::string text_;
};

// "Question": a text with "Yes" and "No". Closing it answers no.
class QuestionDialog : public ToolkitWindow {
public:
    QuestionDialog(std::string question, DialogAnswer<bool>& answer);
    void drawContents() override;
    void closeRequested() override;
    void defaultAction() override;
    // What a button does: hands the answer over and hides the window until the asking thread
    // destroys it.
    void choose(bool yes);

private:
    std::string question_;
    DialogAnswer<bool>& answer_;
};

// "Promotion": the four pieces a pawn may become, in the colour of the side to move. It cannot be
// closed without a choice; Q, N, R and B choose from the keyboard.
class PromotionDialog : public ToolkitWindow {
public:
    PromotionDialog(bool whiteToMove, DialogAnswer<int>& answer);
    void drawContents() override;

private:
    void choose(int piece);

    int colourOffset_;
    DialogAnswer<int>& answer_;
};
