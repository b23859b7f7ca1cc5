// What a user types into a setting cell. The keys go through the grid's typing
// filter and width limit first, as in the editor; whatever text the filter lets
// through must parse to a value that formats back within the parameter's width.
//
// Input: byte 0 picks the parameter, byte 1 how the edit starts (empty, as when
// a typed character opens the editor, or with the cell's text of the minimum or
// maximum); then pairs of (key, selection) bytes.
#include "catalogue/catalogue.h"
#include "catalogue/value_text.h"
#include "fuzz_check.h"
#include "view/edit_rules.h"

#include <cstdint>
#include <string>

using namespace kolt;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const auto params = AllParams();
    const ParamDef& p = params[data[0] % params.size()];
    const std::uint8_t attribute = Attribute(p.number);
    const int width = Width(p.number);

    std::string text;
    if (data[1] % 3 == 1) text = FormatValue(MinValue(p.number), attribute);
    if (data[1] % 3 == 2) text = FormatValue(MaxValue(p.number), attribute);
    if (!text.empty()) {
        FUZZ_CHECK(static_cast<int>(text.size()) <= width, "a limit's text fits its cell");
        FUZZ_CHECK(CheckEditText(text, p.number) == EditTextFault::None, "a limit's text could have been typed");
    }

    for (std::size_t i = 2; i + 1 < size; i += 2) {
        const char key = static_cast<char>(data[i]);
        const int length = static_cast<int>(text.size());
        const int selStart = data[i + 1] % (length + 1);
        const int selLength = (data[i + 1] / (length + 1)) % (length - selStart + 1);
        const TypedKeyResult r = FilterTypedKey(text, selStart, selLength, key, attribute, width);
        if (!r.accepted) {
            FUZZ_CHECK(r.text == text, "a refused key leaves the text as it was");
            continue;
        }
        FUZZ_CHECK(static_cast<int>(r.text.size()) <= width, "the editor holds at most the width");
        FUZZ_CHECK(r.caret >= 0 && r.caret <= static_cast<int>(r.text.size()), "the caret stays in the text");
        FUZZ_CHECK(CheckEditText(r.text, p.number) == EditTextFault::None,
                   "a text the filter lets through passes the whole-text check");
        text = r.text;
    }

    // The edit ends: the editor's text is normalised, then parsed for the store.
    const std::string shown = NormaliseEditText(text, attribute);
    const std::int32_t value = ParseValue(shown, attribute);
    FUZZ_CHECK(value >= 0, "a typed value is never negative");
    FUZZ_CHECK(value == ParseValue(text, attribute), "normalising keeps the value");
    FUZZ_CHECK(FormatValue(value, attribute) == shown, "the normalised text is the value's text");
    FUZZ_CHECK(static_cast<int>(shown.size()) <= width, "a typed value formats back within its width");
    FUZZ_CHECK(CommittedValue(text, p.number) == value, "the command line commits the same value");
    return 0;
}
