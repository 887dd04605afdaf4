// The document of the single-document window. It holds no data of its own: the view loads its
// pages itself. Its title is the shown page's title, which the frame may put in its caption.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "res/Resources.h"

namespace orvane {

class COrvaneStartDoc {
  public:
    // A new, empty document; true on success.
    bool OnNewDocument() {
        title_ = res::LoadString(res::IDS_UNTITLED);
        return true;
    }
    // Reads and writes nothing.
    void Serialize() {}

    const std::string& GetTitle() const { return title_; }
    // Sets the title and tells the frame, which brings its caption up to date.
    void SetTitle(std::string_view title) {
        title_ = title;
        if (onTitleChanged_)
            onTitleChanged_();
    }
    void OnTitleChanged(std::function<void()> callback) { onTitleChanged_ = std::move(callback); }

  private:
    std::string title_ = std::string(res::LoadString(res::IDS_UNTITLED));
    std::function<void()> onTitleChanged_;
};

}  // namespace orvane
