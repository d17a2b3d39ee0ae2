#include <gtest/gtest.h>

#include <string>

#include "bars/GetField.h"
#include "base/Errors.h"

namespace quillon {
namespace {

// The fuzz target holds GetField against cutting done step by step on arbitrary text; these are
// the cases of a bar line and the length limit.
TEST(GetFieldTest, CutsTheFieldsOfABarLine) {
    const std::string bar = "20240102,1200,1.2345,1.2350,1.2300,1.2310,87";
    const struct {
        std::string text;
        int index;
        const char* field;
    } cases[] = {
        {bar, 3, "1.2345"}, {bar, 6, "1.2310"},
        {bar, 7, "87"},     {bar, 8, ""},
        {bar, 0, ""},       {"a,,b", 2, ""},
        {"a,b,", 3, ""},    {" 1.5 ,x", 1, " 1.5 "},
        {"", 255, ""},      {std::string(FieldTextLimit, ','), 255, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(GetField(c.text, ',', static_cast<std::uint8_t>(c.index)), c.field)
            << "'" << c.text << "' field " << c.index;
    }
    EXPECT_THROW(GetField(std::string(FieldTextLimit + 1, ','), ',', 1), RangeCheckError);
    EXPECT_THROW(GetField(std::string(1000, 'x'), ',', 0), RangeCheckError);
}

} // namespace
} // namespace quillon
