// The table behind kText::SystemText: built-in messages by system message id and
// kTextLanguage. Constant data, any thread.
#pragma once

namespace Kelvo_lib {

class kSystemMessages {
public:
    // "NO LANGUAGE SET" for language NONE; "" for an id without a message, or an id or a
    // language outside the table.
    static const char* Text(int id, int language);
};

} // namespace Kelvo_lib
