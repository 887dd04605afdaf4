// A headless window system for tests: it makes frame windows that record what the program asks
// of them, each with a browser engine that records every call. Tests drive the program through
// the events the program gave the window (commands, command states, navigation questions).
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Window.h"

namespace orvane::testing {

class FakeWindowSystem;

// Records every call in order: "Navigate:<path>", "GoBack", "GoForward", "GoHome", "GoSearch",
// "Stop", "Refresh", "SetTextSize:<level>".
class FakeBrowser final : public platform::BrowserEngine {
  public:
    std::vector<std::string> calls;
    std::vector<std::string> navigations;  // the paths given to Navigate, in order
    std::vector<int> textSizes;            // the levels given to SetTextSize, in order

    void Navigate(std::string_view pathOrAddress) override {
        navigations.emplace_back(pathOrAddress);
        calls.push_back("Navigate:" + std::string(pathOrAddress));
    }
    void GoBack() override { calls.emplace_back("GoBack"); }
    void GoForward() override { calls.emplace_back("GoForward"); }
    void GoHome() override { calls.emplace_back("GoHome"); }
    void GoSearch() override { calls.emplace_back("GoSearch"); }
    void Stop() override { calls.emplace_back("Stop"); }
    void Refresh() override { calls.emplace_back("Refresh"); }
    void SetTextSize(int level) override {
        textSizes.push_back(level);
        calls.push_back("SetTextSize:" + std::to_string(level));
    }
};

struct RecordedPopup {
    int menuId;
    platform::Point topLeft;
};

class FakeFrameWindow final : public platform::FrameWindow {
  public:
    FakeFrameWindow(FakeWindowSystem& owner, const platform::FrameDescription& made,
                    platform::FrameEvents& frameEvents, platform::BrowserEvents& pageEvents)
        : description(made), events(frameEvents), browserEvents(pageEvents), owner_(owner) {}
    ~FakeFrameWindow() override;

    // --- what the window was made with; the program's handlers, for the test to drive
    platform::FrameDescription description;
    platform::FrameEvents& events;
    platform::BrowserEvents& browserEvents;
    FakeBrowser browser;

    // --- what happened, in order
    std::vector<std::string> captions;  // every SetCaption
    std::vector<std::string> messageTexts;
    std::vector<int> showCommands;
    int updateWindowCalls = 0;
    std::vector<RecordedPopup> popups;
    int commandStateUpdates = 0;
    int closeCalls = 0;

    // The caption now: the last one set, or the one the window was made with.
    std::string caption() const { return captions.empty() ? description.caption : captions.back(); }

    platform::BrowserEngine& Browser() override { return browser; }
    void SetCaption(std::string_view text) override { captions.emplace_back(text); }
    void SetMessageText(std::string_view text) override { messageTexts.emplace_back(text); }
    void ShowWindow(int showCommand) override { showCommands.push_back(showCommand); }
    void UpdateWindow() override { ++updateWindowCalls; }
    void TrackPopupMenu(int menuId, platform::Point topLeft) override {
        popups.push_back({menuId, topLeft});
    }
    void UpdateCommandStates() override { ++commandStateUpdates; }
    void Close() override { ++closeCalls; }

  private:
    FakeWindowSystem& owner_;
};

class FakeWindowSystem final : public platform::WindowSystem {
  public:
    // --- what the test sets up
    bool failCreate = false;  // CreateFrame answers null

    // --- what happened
    std::vector<platform::FrameDescription> descriptions;  // every CreateFrame, failed ones too
    FakeFrameWindow* window = nullptr;  // the live window; null before it is made and once gone
    int runCalls = 0;

    std::unique_ptr<platform::FrameWindow> CreateFrame(
        const platform::FrameDescription& made, platform::FrameEvents& frameEvents,
        platform::BrowserEvents& pageEvents) override {
        descriptions.push_back(made);
        if (failCreate)
            return nullptr;
        auto created = std::make_unique<FakeFrameWindow>(*this, made, frameEvents, pageEvents);
        window = created.get();
        return created;
    }
    void Run() override { ++runCalls; }
};

inline FakeFrameWindow::~FakeFrameWindow() {
    if (owner_.window == this)
        owner_.window = nullptr;
}

}  // namespace orvane::testing
