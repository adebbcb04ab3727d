#include "AcceptSettings.h"

#include <atomic>
#include <cmath>
#include <cstring>

namespace {

// Thinking times closer than this are the same to the engine, which counts milliseconds.
constexpr double thinkingTimeTolerance = 0.001;

int truncatedThreads(const SettingsForm& form) {
    return static_cast<int>(form.threadsField);
}

uint8_t truncatedDepth(const SettingsForm& form) {
    return static_cast<uint8_t>(static_cast<int>(form.depthField));
}

} // namespace

bool changesEngine(const SettingsForm& form, const Settings& record) {
    return form.whitePlayerRadio != record.whitePlayer ||
           form.blackPlayerRadio != record.blackPlayer ||
           std::fabs(record.timePerMove - form.thinkField) > thinkingTimeTolerance ||
           truncatedDepth(form) != record.maxDepth ||
           static_cast<uint8_t>(form.seeCheckbox != 0) != record.useSee ||
           truncatedThreads(form) != record.threadCount;
}

void acceptSettings(SettingsForm& form, Settings& record, SettingsActions& actions) {
    // Enter may accept while a field is still being edited, before its value was clamped.
    form.thinkField = keepInRange(form.thinkField, record.timePerMove, thinkRange);
    form.depthField = keepInRange(form.depthField, record.maxDepth, depthRange);
    form.threadsField = keepInRange(form.threadsField, record.threadCount, threadsRange);
    form.reflectivity = keepInRange(form.reflectivity, record.reflectivity, reflectivityRange);

    const int threads = truncatedThreads(form);
    if (changesEngine(form, record)) {
        actions.stopEngineTurn();
    }
    record.whitePlayer = form.whitePlayerRadio;
    record.blackPlayer = form.blackPlayerRadio;
    record.timePerMove = form.thinkField;
    record.maxDepth = truncatedDepth(form);
    // A search that is just beginning reads this flag on its own thread.
    std::atomic_ref<uint8_t>(record.useSee)
        .store(form.seeCheckbox != 0 ? 1 : 0, std::memory_order_relaxed);
    if (threads != record.threadCount) {
        record.threadCount = static_cast<uint8_t>(threads);
        actions.resizeSearchPool(threads);
    }
    record.reflectivity = form.reflectivity;
    std::memcpy(record.whiteColor, form.whiteColor.data(), sizeof record.whiteColor);
    std::memcpy(record.blackColor, form.blackColor.data(), sizeof record.blackColor);
    record.knightsFace = form.knightsRadio;

    actions.saveSettings();
    actions.updateUndoRedoButtons();
    actions.orientKnights();
    form.load(record);
}
