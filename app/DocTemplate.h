// The single-document template: the resource id the main frame is built from, and the way the
// window layer creates the document, the frame and its view.
#pragma once

#include <functional>
#include <memory>

#include "app/OrvaneStartDoc.h"

namespace orvane {

// What start-up needs of the main frame window once it exists.
class MainWindow {
  public:
    virtual ~MainWindow() = default;
    // Gives the window a show state (SW_SHOWNORMAL, SW_SHOWMAXIMIZED, ...).
    virtual void ShowWindow(int showCommand) = 0;
    // Paints the window at once.
    virtual void UpdateWindow() = 0;
    // Closes the window, which ends the program.
    virtual void DestroyWindow() = 0;
};

class CSingleDocTemplate {
  public:
    // Creates the frame and its view for `document` from resource `resourceId` (0: no menu and
    // no accelerator table). Null when the window cannot be created.
    using FrameFactory =
        std::function<std::unique_ptr<MainWindow>(int resourceId, COrvaneStartDoc& document)>;

    CSingleDocTemplate(int resourceId, FrameFactory makeFrame)
        : resourceId_(resourceId), makeFrame_(std::move(makeFrame)) {}

    int ResourceId() const { return resourceId_; }

    // A new document in a new frame. Null when the document or the frame cannot be made; the
    // template keeps the document, the caller owns the frame.
    std::unique_ptr<MainWindow> OpenNewDocument() {
        document_ = std::make_unique<COrvaneStartDoc>();
        if (!document_->OnNewDocument() || !makeFrame_)
            return nullptr;
        return makeFrame_(resourceId_, *document_);
    }

  private:
    int resourceId_;
    FrameFactory makeFrame_;
    std::unique_ptr<COrvaneStartDoc> document_;
};

}  // namespace orvane
