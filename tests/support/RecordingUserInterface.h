#pragma once

#include "UserInterface.h"

#include <deque>
#include <mutex>
#include <string>
#include <vector>

// A front-end for tests: records what reaches the user and answers questions from a script.
class RecordingUserInterface : public UserInterface {
public:
    std::vector<std::string> errors, warnings, informations, logLines, questions;
    std::vector<SearchReport> reports;
    int drawClaims = 0;
    std::deque<bool> yesNoAnswers;
    int promotionPiece = 0;

    void showError(std::string message) override { record(errors, std::move(message)); }
    void showWarning(std::string message) override { record(warnings, std::move(message)); }
    void showInformation(std::string message) override { record(informations, std::move(message)); }
    void logMessage(std::string line) override { record(logLines, std::move(line)); }
    bool askYesNo(std::string question) override {
        std::lock_guard lock(mutex_);
        questions.push_back(std::move(question));
        if (yesNoAnswers.empty()) {
            return false;
        }
        const bool answer = yesNoAnswers.front();
        yesNoAnswers.pop_front();
        return answer;
    }
    int askPromotionPiece() override { return promotionPiece; }
    void reportSearchProgress(SearchReport report) override {
        std::lock_guard lock(mutex_);
        reports.push_back(std::move(report));
    }
    void claimDraw() override {
        std::lock_guard lock(mutex_);
        ++drawClaims;
    }

private:
    void record(std::vector<std::string>& into, std::string text) {
        std::lock_guard lock(mutex_);
        into.push_back(std::move(text));
    }
    std::mutex mutex_;
};

// Installs a recording front-end as theUserInterface for the lifetime of the object.
class ScopedRecordingUserInterface {
public:
    ScopedRecordingUserInterface() : previous_(theUserInterface) { theUserInterface = &ui; }
    ~ScopedRecordingUserInterface() { theUserInterface = previous_; }
    RecordingUserInterface ui;

private:
    UserInterface* previous_;
};
