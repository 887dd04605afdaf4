// A headless platform for tests: it records message boxes, dialogs, launches and start-up calls,
// runs a dialog's events (its timer fires at once) or answers it from a script, and answers the
// browser version it is told to. Files are the real ones (tests make disc folders in temporary
// folders).
#pragma once

#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/OrvaneStartApp.h"
#include "platform/posix/PosixFileSystem.h"

namespace orvane::testing {

struct RecordedMessageBox {
    std::string text;
    unsigned type;
};

struct RecordedLaunch {
    std::string commandLine;
    std::string workingFolder;
};

struct RecordedTimer {
    int dialogId;
    int timerId;
    unsigned milliseconds;
};

// What a running dialog offers its events; timers are recorded in the platform's list.
class FakeDialogControl final : public platform::DialogControl {
  public:
    FakeDialogControl(int dialogId, std::vector<RecordedTimer>& timers)
        : dialogId_(dialogId), timers_(timers) {}

    void SetTimer(int timerId, unsigned milliseconds) override {
        timers_.push_back({dialogId_, timerId, milliseconds});
        lastTimerId = timerId;
    }
    void EndDialog(int answer) override {
        if (ended)
            return;  // the first end wins, as with a real dialog
        ended = true;
        result = answer;
    }

    std::optional<int> lastTimerId;
    bool ended = false;
    int result = 0;

  private:
    int dialogId_;
    std::vector<RecordedTimer>& timers_;
};

class FakePlatform final : public platform::System,
                           public platform::ProcessLauncher,
                           public platform::Ui {
  public:
    // --- what the test sets up
    bool socketsStart = true;
    std::string moduleFileName;  // the program file's path
    std::string browserVersion = "9.11.19041.0";
    bool launchSucceeds = true;
    std::deque<int> dialogAnswers;  // answers of DoModal in order; IDCANCEL when none is left

    // --- what happened, in order
    std::vector<std::string> calls;  // start-up services and UI, by name
    std::vector<RecordedMessageBox> messageBoxes;
    std::vector<int> dialogs;           // template ids
    std::vector<int> dialogResults;     // what each DoModal answered
    std::vector<RecordedTimer> timers;  // timers that dialogs set while running
    std::vector<RecordedLaunch> launches;
    int browserVersionReads = 0;

    // System
    bool StartSockets() override { return Call("StartSockets"), socketsStart; }
    void EnableControlContainer() override { Call("EnableControlContainer"); }
    void Enable3dControls() override { Call("Enable3dControls"); }
    void SetRegistryKey(std::string_view key) override {
        Call("SetRegistryKey:" + std::string(key));
    }
    void LoadStdProfileSettings(unsigned n) override {
        Call("LoadStdProfileSettings:" + std::to_string(n));
    }
    std::string ModuleFileName() override { return Call("ModuleFileName"), moduleFileName; }
    std::string InstalledBrowserVersion() override {
        ++browserVersionReads;
        return browserVersion;
    }

    // ProcessLauncher
    bool Start(std::string_view commandLine, std::string_view workingFolder,
               platform::ProcessHandle& handle) override {
        launches.push_back({std::string(commandLine), std::string(workingFolder)});
        Call("Launch");
        handle = launchSucceeds ? 4242 : 0;
        return launchSucceeds;
    }

    // Ui
    int MessageBox(std::string_view text, unsigned type) override {
        messageBoxes.push_back({std::string(text), type});
        Call("MessageBox");
        return res::IDOK;
    }
    // Runs the dialog's events as a modal loop would: OnInitDialog once it is "shown"; then, when
    // a timer was set and no scripted answer closes the dialog first, one OnTimer. The answer is
    // what the dialog gave EndDialog, else the scripted answer, else IDCANCEL.
    int DoModal(const res::DialogTemplate& dialog, platform::DialogEvents* events) override {
        dialogs.push_back(dialog.id);
        Call("DoModal:" + std::to_string(dialog.id));
        std::optional<int> scripted;
        if (!dialogAnswers.empty()) {
            scripted = dialogAnswers.front();
            dialogAnswers.pop_front();
        }
        FakeDialogControl control(dialog.id, timers);
        if (events) {
            events->OnInitDialog(control);
            if (!control.ended && !scripted && control.lastTimerId) {
                events->OnTimer(control, *control.lastTimerId);
            }
        }
        int answer = control.ended ? control.result : scripted.value_or(res::IDCANCEL);
        dialogResults.push_back(answer);
        return answer;
    }

    std::optional<std::string> openFileAnswer;  // the Open dialog's answer; nothing: cancelled
    std::vector<std::string> openFileFilters;
    std::optional<std::string> GetOpenFileName(std::string_view filter) override {
        openFileFilters.emplace_back(filter);
        Call("GetOpenFileName");
        return openFileAnswer;
    }

    platform::posix::PosixFileSystem files;

    Platform platform() { return {*this, files, *this, *this}; }

  private:
    void Call(std::string name) { calls.push_back(std::move(name)); }
};

// A main window that records what start-up asks of it.
class FakeMainWindow final : public MainWindow {
  public:
    explicit FakeMainWindow(std::vector<std::string>& calls) : calls_(calls) {}
    void ShowWindow(int showCommand) override {
        calls_.push_back("ShowWindow:" + std::to_string(showCommand));
    }
    void UpdateWindow() override { calls_.push_back("UpdateWindow"); }
    void DestroyWindow() override { calls_.push_back("DestroyWindow"); }

  private:
    std::vector<std::string>& calls_;
};

// A frame factory that records the resource id it was given and makes a FakeMainWindow (or
// fails when `fail` is set).
inline COrvaneStartApp::FrameMaker RecordingFrames(std::vector<std::string>& calls,
                                                   bool fail = false) {
    return [&calls, fail](COrvaneStartApp&, int resourceId,
                          COrvaneStartDoc&) -> std::unique_ptr<MainWindow> {
        calls.push_back("CreateFrame:" + std::to_string(resourceId));
        if (fail)
            return nullptr;
        return std::make_unique<FakeMainWindow>(calls);
    };
}

}  // namespace orvane::testing
