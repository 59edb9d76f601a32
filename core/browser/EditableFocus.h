#pragma once

namespace plintor {

// How a page's web process tells its view where the focus is: the message says whether a text
// field of the page (an input that takes text, a text area, an editable element) has the focus
// now, a boolean. True comes again when the visitor taps the field that has it.
struct EditableFocus {
    static constexpr const char* Message = "plintor.editable-focus";
};

}  // namespace plintor
