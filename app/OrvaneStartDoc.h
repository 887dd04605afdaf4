// The document of the single-document window. It holds nothing: the view loads its pages itself.
#pragma once

namespace orvane {

class COrvaneStartDoc {
public:
    // A new, empty document; true on success.
    bool OnNewDocument() { return true; }
    // Reads and writes nothing.
    void Serialize() {}
};

}  // namespace orvane
